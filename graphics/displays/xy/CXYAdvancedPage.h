#pragma once
#include <memory>

#include "graphics/displays/xy/XYPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CXYAdvancedPage;
}
namespace tvane {
class CSpinEdit;
}

// The XY display's Advanced page: grid, continuous autoscale, connected
// points and symbols take effect at once; the maximum scans displayed and the
// update rate when the page is left.
class CXYAdvancedPage final : public CGraphPage {
    Q_OBJECT
public:
    CXYAdvancedPage(int dialogId = 163, int pageId = 147);
    ~CXYAdvancedPage() override;

    Ui::CXYAdvancedPage& Form() const { return *m_ui; }
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void ShowItem(int item);

    std::unique_ptr<Ui::CXYAdvancedPage> m_ui;
    std::unique_ptr<XYAdvancedPageModel> m_model;
    tvane::CSpinEdit* m_rate = nullptr;
};
