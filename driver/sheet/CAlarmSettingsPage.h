#pragma once
#include <memory>

#include "driver/CAlarmSettingsModel.h"
#include "driver/sheet/CSettingsPage.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace tvane::driver {

// "Alarm Out": clears alarm outputs and chooses their mode and polarity.
class CAlarmSettingsPage final : public CSettingsPage {
public:
    explicit CAlarmSettingsPage(CKXQT7100& driver);
    ~CAlarmSettingsPage() override;

    QListWidget* OutputList() const { return m_outputs; }
    QPushButton* ClearButton() const { return m_clear; }
    QRadioButton* TrackingChoice() const { return m_tracking; }
    QRadioButton* LatchedChoice() const { return m_latched; }
    QRadioButton* LowChoice() const { return m_low; }
    QRadioButton* HighChoice() const { return m_high; }

protected:
    void BuildPage() override;

private:
    std::unique_ptr<CAlarmSettingsModel> m_model;
    QListWidget* m_outputs = nullptr;
    QPushButton* m_clear = nullptr;
    QRadioButton* m_tracking = nullptr;
    QRadioButton* m_latched = nullptr;
    QRadioButton* m_low = nullptr;
    QRadioButton* m_high = nullptr;
};

} // namespace tvane::driver
