#pragma once
#include "graphics/pages/CGraphPage.h"

namespace tvane {
class CSpinEdit;
}

// The Advanced page of the alarm-light and data-grid displays: how many scans
// pass between display updates (1 to 5000).
class CUpdateScanPage final : public CGraphPage {
    Q_OBJECT
public:
    CUpdateScanPage(int dialogId = 177, int pageId = 134);
    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    tvane::CSpinEdit* m_rate = nullptr;
};
