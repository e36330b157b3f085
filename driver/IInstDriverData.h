#pragma once
#include "platform/com/Dispatch.h"
#include "scan/records/CChannelConfig.h"
#include "scan/records/ReadingRecord.h"

// The driver's class identifiers and its two vtable interfaces. The main program
// calls IInstDriverData by slot for bulk work: reading blocks, stored readings
// and the per-channel configuration download and upload.

inline constexpr CLSID CLSID_InstDriver = tvane::MakeGuid("{E7B18FB7-54BB-4FF5-ADDD-B1D69A8DB99A}");
inline constexpr CLSID CLSID_KXQT7100 = tvane::MakeGuid("{27805FD0-824E-4112-A599-39B513A9EA6B}");
inline constexpr const char* kInstDriverProgId = "InstDriver.Drv32";
inline constexpr const char* kKXQT7100ProgId = "KXQT7100.Drv32";

class IInstDriver : public IUnknown {
public:
    TVANE_INTERFACE_IID(IInstDriver, "{D1B0CB05-BF12-4118-AC8F-5280AFFE529F}")

    // 3: the object's dispatch interface, add-referenced.
    virtual IDispatch* GetIDispatch() = 0;

protected:
    ~IInstDriver() = default;
};

class IInstDriverData : public IUnknown {
public:
    TVANE_INTERFACE_IID(IInstDriverData, "{4A0A810F-A912-4B3C-AE9B-47B89F69492B}")

    virtual IDispatch* GetIDispatch() = 0; // 3
    // 4: parses the block the instrument sends after InitMeasurement; writes at
    // most capacity records.
    virtual BOOL GetReadings(ReadingRecord* buffer, LONG capacity, LONG* count) = 0;
    // 5: asks for up to requested stored readings and parses them.
    virtual BOOL FetchReadings(ReadingRecord* buffer, LONG requested, LONG* count) = 0;
    virtual BOOL DownloadChannelConfig(CChannelConfig* config) = 0; // 6
    // 7: the driver's own record for the channel (owned by the driver).
    virtual CChannelConfig* UploadChannelConfig(SHORT channel, const char* moduleText,
                                                LONG* ok) = 0;
    virtual BOOL ShowSettings(void* parent) = 0; // 8

protected:
    ~IInstDriverData() = default;
};

inline constexpr IID IID_IInstDriver = IInstDriver::Iid;
inline constexpr IID IID_IInstDriverData = IInstDriverData::Iid;
