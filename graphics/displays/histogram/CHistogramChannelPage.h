#pragma once
#include <memory>

#include "graphics/displays/histogram/HistogramPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CHistogramChannelPage;
}

// The histogram's Channels page: the channel acts at once; the value axis,
// its precision, the bins and the frequency axis apply when the page is left.
class CHistogramChannelPage final : public CGraphPage {
    Q_OBJECT
public:
    CHistogramChannelPage(int dialogId = 173, int pageId = 151);
    ~CHistogramChannelPage() override;

    Ui::CHistogramChannelPage& Form() const { return *m_ui; }

protected:
    void OnInitPage() override;
    void OnSetActive() override;
    bool OnKillActive() override;

private:
    void Show(const HistogramChannelPageModel::Values& values);
    void EnableFields();

    std::unique_ptr<Ui::CHistogramChannelPage> m_ui;
    std::unique_ptr<HistogramChannelPageModel> m_model;
};
