#pragma once
#include <cstdint>
#include <memory>

#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CDataLEDAdvancedPage;
}
namespace tvane {
class CSpinEdit;
}

// The data light display's Advanced page: the acquisition mode, which
// applies at once (and stays when the sheet is cancelled), and the update
// rate, which applies only in Scan mode.
class CDataLEDAdvancedPage final : public CGraphPage {
    Q_OBJECT
public:
    CDataLEDAdvancedPage(int dialogId = 192, int pageId = 142);
    ~CDataLEDAdvancedPage() override;

    tvane::CSpinEdit* RateEdit() const { return m_rate; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void SetMode(std::int32_t mode);

    std::unique_ptr<Ui::CDataLEDAdvancedPage> m_ui;
    tvane::CSpinEdit* m_rate = nullptr;
};
