#pragma once
#include <memory>

#include "graphics/displays/bar/BarPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CBarAdvancedPage;
}
namespace tvane {
class CSpinEdit;
}

// The bar meter's Advanced page: orientation and grid act at once; the update
// rate applies when the page is left.
class CBarAdvancedPage final : public CGraphPage {
    Q_OBJECT
public:
    CBarAdvancedPage(int dialogId = 168, int pageId = 153);
    ~CBarAdvancedPage() override;

    Ui::CBarAdvancedPage& Form() const { return *m_ui; }
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    std::unique_ptr<Ui::CBarAdvancedPage> m_ui;
    std::unique_ptr<BarAdvancedPageModel> m_model;
    tvane::CSpinEdit* m_rate = nullptr;
};
