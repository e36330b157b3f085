#pragma once
#include <memory>

#include "graphics/displays/readout/ReadoutPageModel.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CReadoutPage;
}
namespace tvane {
class CSpinEdit;
}

// The readout's Advanced page: number format, acquisition mode and update
// rate. Format and mode apply to the readout at once.
class CReadoutPage final : public CGraphPage {
    Q_OBJECT
public:
    CReadoutPage(int dialogId = 176, int pageId = 156);
    ~CReadoutPage() override;

    long OnQuerySiblings(int code) override;
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void UpdateControls();
    void SetMode(std::int32_t mode);

    std::unique_ptr<Ui::CReadoutPage> m_ui;
    std::unique_ptr<ReadoutPageModel> m_model;
    ReadoutPageModel::Controls m_controls;
    tvane::CSpinEdit* m_rate = nullptr;
};
