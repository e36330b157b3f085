#pragma once
#include <memory>

#include "graphics/displays/histogram/HistogramPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CHistogramAdvancedPage;
}
namespace tvane {
class CSpinEdit;
}

// The histogram's Advanced page: orientation, grid and the frequency scale's
// following act at once; the update rate applies when the page is left.
class CHistogramAdvancedPage final : public CGraphPage {
    Q_OBJECT
public:
    CHistogramAdvancedPage(int dialogId = 172, int pageId = 152);
    ~CHistogramAdvancedPage() override;

    Ui::CHistogramAdvancedPage& Form() const { return *m_ui; }
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    std::unique_ptr<Ui::CHistogramAdvancedPage> m_ui;
    std::unique_ptr<HistogramAdvancedPageModel> m_model;
    tvane::CSpinEdit* m_rate = nullptr;
};
