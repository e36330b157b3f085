#include "driver/CKXQT7100Object.h"
#include "platform/com/SafeArray.h"

namespace tvane::driver {

namespace {

constexpr VARTYPE PI2 = VT_BYREF | VT_I2;
constexpr VARTYPE PI4 = VT_BYREF | VT_I4;
constexpr VARTYPE PR8 = VT_BYREF | VT_R8;
constexpr VARTYPE PBOOL = VT_BYREF | VT_BOOL;
constexpr VARTYPE PVAR = VT_BYREF | VT_VARIANT;

VARIANT_BOOL VBool(bool b) {
    return b ? VARIANT_TRUE : VARIANT_FALSE;
}

// GetReading's rows as a 2-D array of variants: one row per reading, five
// columns (scan, channel, alarm, time, value). False when it cannot be built.
bool FillReadingArray(VARIANT& out, const std::vector<ReadingRow>& rows) {
    if (out.vt & VT_ARRAY)
        VariantClear(&out);
    if (rows.empty())
        return true;
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows.size()), 0}, {5, 0}};
    SafeArrayHolder array(SafeArrayCreate(VT_VARIANT, 2, bounds));
    if (!array.Get())
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReadingRow& r = rows[i];
        Variant cells[5] = {Variant(static_cast<LONG>(r.scan)),
                            Variant(static_cast<LONG>(r.channel)),
                            Variant(static_cast<LONG>(r.alarm)), Variant(r.time), Variant(r.value)};
        for (LONG c = 0; c < 5; ++c) {
            LONG index[2] = {static_cast<LONG>(i), c};
            if (FAILED(SafeArrayPutElement(array.Get(), index, &cells[c])))
                return false;
        }
    }
    VariantClear(&out);
    out.vt = VT_ARRAY | VT_VARIANT;
    out.parray = array.Detach();
    return true;
}

void PutClock(DispatchArgs& a, const InstrumentClock& c) {
    a.RefI2(0) = c.year;
    a.RefI2(1) = c.month;
    a.RefI2(2) = c.day;
    a.RefI2(3) = c.hour;
    a.RefI2(4) = c.minute;
    a.RefI2(5) = c.second;
    a.RefI2(6) = c.millisecond;
}

} // namespace

const DispatchTable<CKXQT7100Object>& CKXQT7100Object::Table() {
    using O = CKXQT7100Object;
    using A = DispatchArgs;
    using R = Variant;
    static const auto table =
        DispatchTable<O>()
            .Method(1, "GetInstrumentName", VT_BSTR, {},
                    [](O& o, A&, R& r) { r = o.Kx().GetInstrumentName(); })
            .Method(2, "InstSettings", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.ShowSettings(nullptr) != FALSE; })
            .Method(3, "GetReading", VT_I2, {PVAR},
                    [](O& o, A& a, R& r) {
                        std::vector<ReadingRow> rows;
                        SHORT n = o.Kx().GetReading(rows);
                        if (n >= 0 && !FillReadingArray(a.RefVariant(0), rows)) {
                            o.Kx().SetError(1003);
                            n = -1;
                        }
                        r = n;
                    })
            .Method(4, "SetMonitorChnl", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().SetMonitorChnl(a.I2(0)); })
            .Method(5, "EnableMonitorChnl", VT_BOOL, {VT_BOOL},
                    [](O& o, A& a, R& r) { r = o.Kx().EnableMonitorChnl(a.Bool(0)); })
            .Method(6, "DigitalWrite", VT_BOOL, {VT_I2, VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().DigitalWrite(a.I2(0), a.I2(1)); })
            .Method(7, "CloseChannel", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().CloseChannel(a.I2(0)); })
            .Method(8, "OpenChannel", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().OpenChannel(a.I2(0)); })
            .Method(9, "IsChannelOpen", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().IsChannelOpen(a.I2(0)); })
            .Method(10, "IsChannelClosed", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().IsChannelClosed(a.I2(0)); })
            .Method(11, "ReadMonitorChnl", VT_BOOL, {PR8, PI2},
                    [](O& o, A& a, R& r) { r = o.Kx().ReadMonitorChnl(&a.RefR8(0), &a.RefI2(1)); })
            .Method(12, "AnalogWrite", VT_BOOL, {VT_I2, VT_R8},
                    [](O& o, A& a, R& r) { r = o.Kx().AnalogWrite(a.I2(0), a.R8(1)); })
            .Method(13, "AnalogRead", VT_BOOL, {VT_I2, PR8},
                    [](O& o, A& a, R& r) { r = o.Kx().AnalogRead(a.I2(0), &a.RefR8(1)); })
            .Method(14, "GetScanTime", VT_BOOL, {PI2, PI2, PI2, PI2, PI2, PI2, PI2},
                    [](O& o, A& a, R& r) {
                        InstrumentClock c;
                        r = o.Kx().GetScanTime(c);
                        PutClock(a, c);
                    })
            .Method(15, "GetStartTickCount", VT_BOOL, {PR8},
                    [](O& o, A& a, R& r) { r = o.Kx().GetStartTickCount(&a.RefR8(0)); })
            .Method(16, "GetInstrumentTime", VT_BOOL, {PI2, PI2, PI2, PI2, PI2, PI2, PI2},
                    [](O& o, A& a, R& r) {
                        InstrumentClock c;
                        r = o.Kx().GetInstrumentTime(c);
                        PutClock(a, c);
                    })
            .Method(17, "GetCardInfoInSlot", VT_BSTR, {VT_I2, PBOOL},
                    [](O& o, A& a, R& r) {
                        bool ok = false;
                        r = o.Kx().GetCardInfoInSlot(a.I2(0), &ok);
                        a.RefBool(1) = VBool(ok);
                    })
            .Method(
                18, "SetInstrumentDate", VT_BOOL, {VT_I2, VT_I2, VT_I2},
                [](O& o, A& a, R& r) { r = o.Kx().SetInstrumentDate(a.I2(0), a.I2(1), a.I2(2)); })
            .Method(19, "SetInstrumentTime", VT_BOOL, {VT_I2, VT_I2, VT_I2, VT_I2},
                    [](O& o, A& a, R& r) {
                        r = o.Kx().SetInstrumentTime(a.I2(0), a.I2(1), a.I2(2), a.I2(3));
                    })
            .Method(20, "GetInstrumentError", VT_BSTR, {PI2, PBOOL},
                    [](O& o, A& a, R& r) {
                        bool has = false;
                        r = o.Kx().GetInstrumentError(&a.RefI2(0), &has);
                        a.RefBool(1) = VBool(has);
                    })
            .Method(21, "SetTriggerSource", VT_BOOL, {VT_BSTR},
                    [](O& o, A& a, R& r) { r = o.Kx().SetTriggerSource(a.Str(0)); })
            .Method(22, "DisplayText", VT_BOOL, {VT_BSTR},
                    [](O& o, A& a, R& r) { r = o.Kx().DisplayText(a.Str(0)); })
            .Method(23, "DisplayToggle", VT_BOOL, {VT_BOOL},
                    [](O& o, A& a, R& r) { r = o.Kx().DisplayToggle(a.Bool(0)); })
            .Method(24, "ClearScanList", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().ClearScanList(); })
            .Method(25, "SetScanCount", VT_BOOL, {VT_I4},
                    [](O& o, A& a, R& r) { r = o.Kx().SetScanCount(a.I4(0)); })
            .Method(26, "SetScanInterval", VT_BOOL, {VT_R8},
                    [](O& o, A& a, R& r) { r = o.Kx().SetScanInterval(a.R8(0)); })
            .Method(27, "GetLastError", VT_BOOL, {PVAR, PI4},
                    [](O& o, A& a, R& r) {
                        std::string text;
                        std::int32_t code = 0;
                        bool ok = o.Kx().GetLastError(text, code);
                        VARIANT& out = a.RefVariant(0);
                        VariantClear(&out);
                        out.vt = VT_BSTR;
                        out.bstrVal = BstrFromUtf8(text);
                        a.RefI4(1) = code;
                        r = ok;
                    })
            .Method(28, "GetDriverFiles", VT_BSTR, {},
                    [](O& o, A&, R& r) { r = o.Kx().GetDriverFiles(); })
            .Method(29, "GetDriverVersion", VT_BSTR, {},
                    [](O& o, A&, R& r) { r = o.Kx().GetDriverVersion(); })
            .Method(30, "StartMeasurement", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().StartMeasurement(); })
            .Method(31, "StopMeasurement", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().StopMeasurement(); })
            .Method(32, "InitInstrument", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().InitInstrument(); })
            .Method(33, "EditControlProperties", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.ShowSettings(nullptr) != FALSE; })
            .Method(34, "GetScanList", VT_BSTR, {},
                    [](O& o, A&, R& r) { r = o.Kx().GetScanList(); })
            .Method(35, "GetAlarmList", VT_BSTR, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().GetAlarmList(a.I2(0)); })
            .Method(36, "SetChannelDelay", VT_BOOL, {VT_I2, VT_BSTR},
                    [](O& o, A& a, R& r) { r = o.Kx().SetChannelDelay(a.I2(0), a.Str(1)); })
            .Method(37, "SetAutoChannelDelay", VT_BOOL, {VT_I2, VT_BOOL},
                    [](O& o, A& a, R& r) { r = o.Kx().SetAutoChannelDelay(a.I2(0), a.Bool(1)); })
            .Method(38, "GetReadingsCount", VT_BOOL, {PI4},
                    [](O& o, A& a, R& r) { r = o.Kx().GetReadingsCount(&a.RefI4(0)); })
            .Method(39, "GetMonitorChannel", VT_BOOL, {PI2},
                    [](O& o, A& a, R& r) { r = o.Kx().GetMonitorChannel(&a.RefI2(0)); })
            .Method(40, "GetTriggerSource", VT_BSTR, {},
                    [](O& o, A&, R& r) { r = o.Kx().GetTriggerSource(); })
            .Method(41, "GetScanCount", VT_BOOL, {PI4},
                    [](O& o, A& a, R& r) { r = o.Kx().GetScanCount(&a.RefI4(0)); })
            .Method(42, "GetScanInterval", VT_BOOL, {PR8},
                    [](O& o, A& a, R& r) { r = o.Kx().GetScanInterval(&a.RefR8(0)); })
            .Method(43, "SetReadingFormat", VT_BOOL, {VT_BOOL, VT_BOOL, VT_BOOL, VT_BOOL, VT_BOOL},
                    [](O& o, A& a, R& r) {
                        r = o.Kx().SetReadingFormat(a.Bool(0), a.Bool(1), a.Bool(2), a.Bool(3),
                                                    a.Bool(4));
                    })
            .Method(44, "IsMonitorChannelEnabled", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsMonitorChannelEnabled(); })
            .Method(45, "IsInstrumentError", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsInstrumentError(); })
            .Method(46, "IsPowerCycled", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsPowerCycled(); })
            .Method(47, "StoreInstState", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().StoreInstState(a.I2(0)); })
            .Method(48, "RecallInstState", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().RecallInstState(a.I2(0)); })
            .Method(49, "RenameInstState", VT_BOOL, {VT_I2, VT_BSTR},
                    [](O& o, A& a, R& r) { r = o.Kx().RenameInstState(a.I2(0), a.Str(1)); })
            .Method(50, "ClearAlarmOutput", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().ClearAlarmOutput(a.I2(0)); })
            .Method(51, "ResetCard", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().ResetCard(a.I2(0)); })
            .Method(52, "SetHighAlarmPolarity", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().SetHighAlarmPolarity(); })
            .Method(53, "SetLowAlarmPolarity", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().SetLowAlarmPolarity(); })
            .Method(54, "SetAlarmOutputTracking", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().SetAlarmOutputTracking(); })
            .Method(55, "SetAlarmOutputLatched", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().SetAlarmOutputLatched(); })
            .Method(56, "IsAlarmOutputTracking", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsAlarmOutputTracking(); })
            .Method(57, "IsAlarmPolarityLowOnFail", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsAlarmPolarityLowOnFail(); })
            .Method(58, "ConfigureUpload", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().ConfigureUpload(); })
            .Method(59, "TotalizeRead", VT_BOOL, {VT_I2, PR8, VT_BOOL},
                    [](O& o, A& a, R& r) {
                        r = o.Kx().TotalizeRead(a.I2(0), &a.RefR8(1), a.Bool(2));
                    })
            .Method(60, "InitMeasurement", VT_BOOL, {VT_I4},
                    [](O& o, A& a, R& r) { r = o.Kx().InitMeasurement(a.I4(0)); })
            .Method(61, "WriteDigitalPattern", VT_BOOL, {VT_I2, VT_BSTR},
                    [](O& o, A& a, R& r) { r = o.Kx().WriteDigitalPattern(a.I2(0), a.Str(1)); })
            .Method(62, "ReadDigitalPattern", VT_BSTR, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().ReadDigitalPattern(a.I2(0)); })
            .Method(63, "RecallFactoryPreset", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().RecallFactoryPreset(); })
            .Method(64, "RecallPreset", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().RecallPreset(); })
            .Method(65, "IsAlarmInQue", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsAlarmInQue(); })
            .Method(66, "GetAlarmInQue", VT_BSTR, {PR8, PI4, PI2, PI2, PI2, PI2, PBOOL},
                    [](O& o, A& a, R& r) {
                        AlarmQueueEntry e;
                        r = o.Kx().GetAlarmInQue(e);
                        a.RefR8(0) = e.value;
                        a.RefI4(1) = e.time;
                        a.RefI2(2) = e.millisecond;
                        a.RefI2(3) = e.channel;
                        a.RefI2(4) = e.limit;
                        a.RefI2(5) = e.output;
                        a.RefBool(6) = VBool(e.got);
                    })
            .Method(67, "IsDigitalWriteMode", VT_BOOL, {VT_I2},
                    [](O& o, A& a, R& r) { r = o.Kx().IsDigitalWriteMode(a.I2(0)); })
            .Method(68, "DigitalReadState", VT_BOOL, {VT_I2, PI2},
                    [](O& o, A& a, R& r) { r = o.Kx().DigitalReadState(a.I2(0), &a.RefI2(1)); })
            .Method(69, "DigitalRead", VT_BOOL, {VT_I2, PI2},
                    [](O& o, A& a, R& r) { r = o.Kx().DigitalRead(a.I2(0), &a.RefI2(1)); })
            .Method(70, "IsConfigChanged", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsConfigChanged(); })
            .Method(71, "IsDMMEnabled", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsDMMEnabled(); })
            .Method(72, "IsDMMInstalled", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = o.Kx().IsDMMInstalled(); })
            .Method(73, "IsInstrumentScanning", VT_BOOL, {PBOOL}, [](O& o, A& a, R& r) {
                bool scanning = false;
                r = o.Kx().IsInstrumentScanning(&scanning);
                a.RefBool(0) = VBool(scanning);
            });
    return table;
}

} // namespace tvane::driver
