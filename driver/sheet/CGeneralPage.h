#pragma once
#include <array>
#include <memory>

#include "driver/CGeneralModel.h"
#include "driver/sheet/CSettingsPage.h"

class QLabel;
class QPushButton;

namespace tvane::driver {

// "Utility": the instrument's and the computer's clocks, setting the
// instrument's clock to the computer's, and the firmware revisions.
class CGeneralPage final : public CSettingsPage {
public:
    explicit CGeneralPage(CKXQT7100& driver);
    ~CGeneralPage() override;

    QLabel* InstrumentTime() const { return m_instrumentTime; }
    QLabel* ComputerTime() const { return m_computerTime; }
    QPushButton* SetToPcButton() const { return m_setToPc; }
    QLabel* SystemRevision() const { return m_system; }
    QLabel* SlotRevision(int index) const { return m_slots[static_cast<std::size_t>(index)]; }

protected:
    void BuildPage() override;

private:
    void ShowTexts();

    std::unique_ptr<CGeneralModel> m_model;
    QLabel* m_instrumentTime = nullptr;
    QLabel* m_computerTime = nullptr;
    QPushButton* m_setToPc = nullptr;
    QLabel* m_system = nullptr;
    std::array<QLabel*, 3> m_slots{};
};

} // namespace tvane::driver
