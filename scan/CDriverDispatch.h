#pragma once
#include "scan/DispatchCall.h"

// The instrument driver's dispatch members: DISPID, name, result code, what the
// binding's wrapper of the same name adds (Plain: passes through; Fetch: records
// the control's last communications error when the result is FALSE; Own: a wrapper
// of its own; None: not wrapped), parameter codes. DISPIDs follow the driver's
// dispatch map.
#define TVANE_DRIVER_MEMBERS(X)                                                                    \
    X(1, GetInstrumentName, BSTR_, Own)                                                            \
    X(2, InstSettings, BOOL_, None)                                                                \
    X(3, GetReading, I2, Own, PVARIANT)                                                            \
    X(4, SetMonitorChnl, BOOL_, Plain, I2)                                                         \
    X(5, EnableMonitorChnl, BOOL_, Plain, BOOL_)                                                   \
    X(6, DigitalWrite, BOOL_, Own, I2, I2)                                                         \
    X(7, CloseChannel, BOOL_, Plain, I2)                                                           \
    X(8, OpenChannel, BOOL_, Plain, I2)                                                            \
    X(9, IsChannelOpen, BOOL_, Plain, I2)                                                          \
    X(10, IsChannelClosed, BOOL_, Plain, I2)                                                       \
    X(11, ReadMonitorChnl, BOOL_, Own, PR8, PI2)                                                   \
    X(12, AnalogWrite, BOOL_, Plain, I2, R8)                                                       \
    X(13, AnalogRead, BOOL_, Plain, I2, PR8)                                                       \
    X(14, GetScanTime, BOOL_, Own, PI2, PI2, PI2, PI2, PI2, PI2, PI2)                              \
    X(15, GetStartTickCount, BOOL_, Fetch, PR8)                                                    \
    X(16, GetInstrumentTime, BOOL_, Own, PI2, PI2, PI2, PI2, PI2, PI2, PI2)                        \
    X(17, GetCardInfoInSlot, BSTR_, Own, I2, PBOOL)                                                \
    X(18, SetInstrumentDate, BOOL_, Fetch, I2, I2, I2)                                             \
    X(19, SetInstrumentTime, BOOL_, Fetch, I2, I2, I2, I2)                                         \
    X(20, GetInstrumentError, BSTR_, Own, PI2, PBOOL)                                              \
    X(21, SetTriggerSource, BOOL_, Fetch, BSTR_)                                                   \
    X(22, DisplayText, BOOL_, Fetch, BSTR_)                                                        \
    X(23, DisplayToggle, BOOL_, None, BOOL_)                                                       \
    X(24, ClearScanList, BOOL_, Fetch)                                                             \
    X(25, SetScanCount, BOOL_, Fetch, I4)                                                          \
    X(26, SetScanInterval, BOOL_, Fetch, R8)                                                       \
    X(27, GetLastError, BOOL_, Own, PVARIANT, PI4)                                                 \
    X(28, GetDriverFiles, BSTR_, Own)                                                              \
    X(29, GetDriverVersion, BSTR_, Own)                                                            \
    X(30, StartMeasurement, BOOL_, Fetch)                                                          \
    X(31, StopMeasurement, BOOL_, Fetch)                                                           \
    X(32, InitInstrument, BOOL_, Fetch)                                                            \
    X(33, EditControlProperties, BOOL_, Own)                                                       \
    X(34, GetScanList, BSTR_, Plain)                                                               \
    X(35, GetAlarmList, BSTR_, Plain, I2)                                                          \
    X(36, SetChannelDelay, BOOL_, None, I2, BSTR_)                                                 \
    X(37, SetAutoChannelDelay, BOOL_, None, I2, BOOL_)                                             \
    X(38, GetReadingsCount, BOOL_, Plain, PI4)                                                     \
    X(39, GetMonitorChannel, BOOL_, Plain, PI2)                                                    \
    X(40, GetTriggerSource, BSTR_, Plain)                                                          \
    X(41, GetScanCount, BOOL_, Fetch, PI4)                                                         \
    X(42, GetScanInterval, BOOL_, Fetch, PR8)                                                      \
    X(43, SetReadingFormat, BOOL_, Fetch, BOOL_, BOOL_, BOOL_, BOOL_, BOOL_)                       \
    X(44, IsMonitorChannelEnabled, BOOL_, Plain)                                                   \
    X(45, IsInstrumentError, BOOL_, Plain)                                                         \
    X(46, IsPowerCycled, BOOL_, Plain)                                                             \
    X(47, StoreInstState, BOOL_, None, I2)                                                         \
    X(48, RecallInstState, BOOL_, None, I2)                                                        \
    X(49, RenameInstState, BOOL_, None, I2, BSTR_)                                                 \
    X(50, ClearAlarmOutput, BOOL_, None, I2)                                                       \
    X(51, ResetCard, BOOL_, None, I2)                                                              \
    X(52, SetHighAlarmPolarity, BOOL_, Plain)                                                      \
    X(53, SetLowAlarmPolarity, BOOL_, Plain)                                                       \
    X(54, SetAlarmOutputTracking, BOOL_, Plain)                                                    \
    X(55, SetAlarmOutputLatched, BOOL_, Plain)                                                     \
    X(56, IsAlarmOutputTracking, BOOL_, Plain)                                                     \
    X(57, IsAlarmPolarityLowOnFail, BOOL_, Plain)                                                  \
    X(58, ConfigureUpload, BOOL_, Plain)                                                           \
    X(59, TotalizeRead, BOOL_, Plain, I2, PR8, BOOL_)                                              \
    X(60, InitMeasurement, BOOL_, Fetch, I4)                                                       \
    X(61, WriteDigitalPattern, BOOL_, Plain, I2, BSTR_)                                            \
    X(62, ReadDigitalPattern, BSTR_, Plain, I2)                                                    \
    X(63, RecallFactoryPreset, BOOL_, None)                                                        \
    X(64, RecallPreset, BOOL_, None)                                                               \
    X(65, IsAlarmInQue, BOOL_, Plain)                                                              \
    X(66, GetAlarmInQue, BSTR_, Own, PR8, PI4, PI2, PI2, PI2, PI2, PBOOL)                          \
    X(67, IsDigitalWriteMode, BOOL_, Plain, I2)                                                    \
    X(68, DigitalReadState, BOOL_, Plain, I2, PI2)                                                 \
    X(69, DigitalRead, BOOL_, Plain, I2, PI2)                                                      \
    X(70, IsConfigChanged, BOOL_, Plain)                                                           \
    X(71, IsDMMEnabled, BOOL_, Plain)                                                              \
    X(72, IsDMMInstalled, BOOL_, Plain)                                                            \
    X(73, IsInstrumentScanning, BOOL_, Plain, PBOOL)

// The driver's dispatch interface: one method per member of the table above, each
// one Invoke of DISPATCH_METHOD. A failed Invoke throws (DispatchDriver).
class CDriverDispatch : public tvane::DispatchDriver {
public:
    using DispatchDriver::DispatchDriver;

#define TVANE_DRIVER_METHOD(id, name, result, wrapper, ...)                                        \
    ::tvane::dispatch::TypeOf<::tvane::dispatch::result> name(TVANE_DISP_DECL(__VA_ARGS__)) {      \
        return ::tvane::dispatch::Call<::tvane::dispatch::result __VA_OPT__(, ) TVANE_DISP_CODES(  \
            __VA_ARGS__)>(*this, id, DISPATCH_METHOD __VA_OPT__(, ) TVANE_DISP_ARGS(__VA_ARGS__)); \
    }
    TVANE_DRIVER_MEMBERS(TVANE_DRIVER_METHOD)
#undef TVANE_DRIVER_METHOD

    // The table's rows, in DISPID order.
    static const tvane::dispatch::MemberInfo* Members(std::size_t& count);
};
