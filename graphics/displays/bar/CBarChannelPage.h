#pragma once
#include <memory>

#include "graphics/displays/bar/BarPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CBarChannelPage;
}

// The bar meter's Channels page: the channel acts at once; Min, Max and
// Precision apply when the page is left.
class CBarChannelPage final : public CGraphPage {
    Q_OBJECT
public:
    CBarChannelPage(int dialogId = 191, int pageId = 217);
    ~CBarChannelPage() override;

    Ui::CBarChannelPage& Form() const { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void Show(const BarChannelPageModel::Values& values);
    void EnableFields();

    std::unique_ptr<Ui::CBarChannelPage> m_ui;
    std::unique_ptr<BarChannelPageModel> m_model;
};
