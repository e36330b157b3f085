#pragma once
#include <memory>

#include "graphics/displays/strip/OverAdvancedPageModel.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class COverAdvancedPage;
}
namespace tvane {
class CSpinEdit;
}

// The strip chart's Advanced page: plot style, symbols and grid take effect
// at once; the maximum scans displayed, the relative reset and the update
// rate when the sheet closes with OK.
class COverAdvancedPage final : public CGraphPage {
    Q_OBJECT
public:
    COverAdvancedPage(int dialogId = 175, int pageId = 141);
    ~COverAdvancedPage() override;

    Ui::COverAdvancedPage& Form() const { return *m_ui; }
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;
    void OnOK() override;

private:
    OverAdvancedPageModel::Values Read() const;
    void ShowItem(int item);

    std::unique_ptr<Ui::COverAdvancedPage> m_ui;
    std::unique_ptr<OverAdvancedPageModel> m_model;
    tvane::CSpinEdit* m_rate = nullptr;
};
