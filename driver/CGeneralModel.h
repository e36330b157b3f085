#pragma once
#include <array>
#include <string>

#include "platform/core/Clock.h"

namespace tvane::driver {

class CKXQT7100;

// What the "Utility" page shows and sends: the firmware revisions of the
// instrument and its modules, the instrument's and the computer's clocks, and
// setting the instrument's clock to the computer's.
class CGeneralModel {
public:
    explicit CGeneralModel(CKXQT7100& driver) : m_driver(driver) {}

    // Asks the instrument for its revisions and both clocks.
    void Refresh();
    void ReadClocks();
    // Sets the instrument's date, then its time, to the computer's.
    bool SetToPc();

    const std::string& SystemRevision() const { return m_systemRevision; }
    const std::array<std::string, 3>& SlotRevisions() const { return m_slotRevisions; }
    const std::string& InstrumentTime() const { return m_instrumentTime; }
    const std::string& ComputerTime() const { return m_computerTime; }

    // A local date and time as "%x %X" with the user's date and time formats.
    static std::string FormatDateTime(const LocalTime& time);

private:
    CKXQT7100& m_driver;
    std::string m_systemRevision;
    std::array<std::string, 3> m_slotRevisions;
    std::string m_instrumentTime;
    std::string m_computerTime;
};

} // namespace tvane::driver
