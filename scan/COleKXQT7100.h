#pragma once
#include <string>
#include <vector>

#include "driver/IInstDriverData.h"
#include "platform/archive/CTime.h"
#include "scan/CDriverDispatch.h"
#include "scan/COleInstrument.h"

// The driver side of the binding: one wrapper per driver member the program
// calls. A member that fails returns FALSE (or a negative count, or a FALSE
// flag); where the member table says Fetch the wrapper first copies the
// control's last communications error into the error record. Nothing is shown;
// the caller asks GetLastError and reports. A failed Invoke throws out of the
// wrapper (tvane::ComException or tvane::DispatchException).
class COleKXQT7100 : public COleInstrument {
    DECLARE_DYNAMIC(COleKXQT7100)

public:
    COleKXQT7100() = default;
    ~COleKXQT7100() override;

    // Creates the driver object and attaches its dispatch interface. A driver
    // object without IInstDriverData throws tvane::ComException with the query's
    // status; no dispatch from it shows text 168 and throws tvane::UserException.
    BOOL Create(const std::string& progId) override;

    BOOL EditControlProperties() override;
    void GetInstrumentName(std::string& name) override { name = m_driver.GetInstrumentName(); }
    void GetDriverVersion(std::string& version) override { version = m_driver.GetDriverVersion(); }
    void GetDriverFiles(std::string& files) override { files = m_driver.GetDriverFiles(); }

    // The driver's last error (code 1000 means none); without a driver dispatch
    // the binding's own record. The binding's record is cleared afterwards.
    BOOL GetLastError(std::string& text, LONG& code);
    // Before a download on RS-232: the control's serial settings must be the
    // instrument's. Mismatches are shown; FALSE stops the operation.
    BOOL CheckSerialSettings();

    // The Plain and Fetch members of the driver's table.
#define TVANE_KX_WRAP_Plain(id, name, result, ...)                                                 \
    ::tvane::dispatch::TypeOf<::tvane::dispatch::result> name(TVANE_DISP_DECL(__VA_ARGS__)) {      \
        return m_driver.name(TVANE_DISP_ARGS(__VA_ARGS__));                                        \
    }
#define TVANE_KX_WRAP_Fetch(id, name, result, ...)                                                 \
    ::tvane::dispatch::TypeOf<::tvane::dispatch::result> name(TVANE_DISP_DECL(__VA_ARGS__)) {      \
        const auto r = m_driver.name(TVANE_DISP_ARGS(__VA_ARGS__));                                \
        if (!r)                                                                                    \
            GetLastCommError();                                                                    \
        return r;                                                                                  \
    }
#define TVANE_KX_WRAP_Own(...)
#define TVANE_KX_WRAP_None(...)
#define TVANE_KX_WRAPPER(id, name, result, wrapper, ...)                                           \
    TVANE_KX_WRAP_##wrapper(id, name, result __VA_OPT__(, ) __VA_ARGS__)
    TVANE_DRIVER_MEMBERS(TVANE_KX_WRAPPER)
#undef TVANE_KX_WRAPPER
#undef TVANE_KX_WRAP_None
#undef TVANE_KX_WRAP_Own
#undef TVANE_KX_WRAP_Fetch
#undef TVANE_KX_WRAP_Plain

    // The members with wrappers of their own.
    SHORT GetReading(VARIANT* readings); // fetch when negative
    // The value comes as a double and is truncated (and held to the 16-bit range).
    BOOL DigitalWrite(SHORT channel, double value);
    // Closes the channel when close is TRUE, else opens it.
    BOOL CloseChannel(SHORT channel, BOOL close) {
        return close ? CloseChannel(channel) : OpenChannel(channel);
    }
    BOOL ReadMonitorChnl(double* value, BYTE* flag);
    // The date and time as a local CTime and the milliseconds; on failure the
    // current time and 0.
    BOOL GetScanTime(tvane::CTime& time, SHORT& milliseconds);
    BOOL GetInstrumentTime(tvane::CTime& time, SHORT& milliseconds);
    std::string GetCardInfoInSlot(SHORT slot, BOOL* ok);
    // Slots 100, 200 and 300 in turn, stopping at the first that fails.
    BOOL GetCardInfoInSlot(std::string& slot1, std::string& slot2, std::string& slot3);
    BOOL SetInstrumentDate(const tvane::CTime& date);
    BOOL SetInstrumentTime(const tvane::CTime& time, SHORT milliseconds);
    std::string GetInstrumentError(SHORT* code, BOOL* ok);
    // Every queued instrument error: numbers ("%d") and texts; FALSE when a query
    // failed.
    BOOL GetInstrumentError(std::vector<std::string>& numbers, std::vector<std::string>& texts,
                            int& count);
    std::string GetAlarmInQue(double* value, tvane::CTime& time, SHORT* milliseconds,
                              SHORT* channel, SHORT* limit, SHORT* output, BOOL* ok);

    // IInstDriverData by slot.
    BOOL GetReadings(ReadingRecord* buffer, LONG capacity, LONG* count);
    BOOL FetchReadings(ReadingRecord* buffer, LONG requested, LONG* count);
    BOOL DownloadChannelConfig(CChannelConfig* config); // fetch on FALSE
    CChannelConfig* UploadChannelConfig(SHORT channel, const char* moduleText, LONG* ok);

    CDriverDispatch& DriverDispatch() {
        return m_driver;
    }

private:
    IInstDriverData& Data();
    BOOL TimeOf(BOOL ok, SHORT parts[7], tvane::CTime& time, SHORT& milliseconds);

    IInstDriverData* m_data = nullptr;
    CDriverDispatch m_driver;
};
