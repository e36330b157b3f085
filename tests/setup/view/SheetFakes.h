#pragma once
// The document, the database's lists and the colour dialog as the editor's
// sheets see them, for tests.
#include <map>
#include <string>
#include <vector>

#include "scan/IMeasurementLookup.h"
#include "setup/IColorPicker.h"
#include "setup/ISheetDocument.h"

struct FakeSheetDocument final : ISheetDocument {
    std::vector<Channel> channels;
    long monitor = 0;
    bool scanning = false;
    bool allowFunctionChange = true;
    std::vector<std::string> functionChecks;

    std::vector<Channel> GetChannels(std::uint32_t mask) const override {
        std::vector<Channel> out;
        for (const Channel& c : channels)
            if (c.kind & mask)
                out.push_back(c);
        return out;
    }
    long GetMonitorChannel() const override { return monitor; }
    int GetGridRow(long channel) const override { return channel > 0 ? 2 : 0; }
    bool CanChangeFunction(int, const std::string& function) override {
        functionChecks.push_back(function);
        return allowFunctionChange;
    }
    double GetFunctionDefaultValue(const std::string&) const override { return 0.5; }
    bool IsScanning() const override { return scanning; }
    std::string GetDateTimeFormat() const override { return "%m/%d/%Y %H:%M:%S"; }
};

// Functions of channel type 1, with ranges of type 1 and resolutions of type 1.
struct FakeMeasurementLookup final : IMeasurementLookup {
    bool fail = false;
    std::map<std::string, MeasurementFunction> functions = {
        {"DC volts", {"DC volts", 1, "Auto", 1, "5.5 digits", 515, "OFF;1;;;;;;;;AUTO;;;;"}},
        {"4w ohms", {"4w ohms", 3, "Auto", 1, "5.5 digits", 770, ";1;;;;;;;OFF;AUTO;;;;"}},
        {"Temperature",
         {"Temperature", 0, "", 0, "", 0x0008 | 0x0010 | 0x0C00, ";;;C;OFF;;;;;;INT;25;;"}},
        {"RTD", {"RTD", 0, "", 0, "", 0x0060, ";;;;;85;100;;;;;;;"}},
        {"Digital Read 8bit", {"Digital Read 8bit", 0, "", 0, "", 0, ""}},
    };
    std::vector<std::string> order = {"DC volts", "4w ohms", "Temperature", "RTD"};

    Result Functions(std::int32_t type, std::vector<std::string>& names) override {
        if (fail)
            return kFailed;
        names = type == 2 ? std::vector<std::string>{"Digital Read 8bit"} : order;
        return kRows;
    }
    Result FindFunction(std::int32_t, const std::string& name, MeasurementFunction& f) override {
        if (fail)
            return kFailed;
        auto it = functions.find(name);
        if (it == functions.end())
            return kEmpty;
        f = it->second;
        return kRows;
    }
    Result Ranges(std::int32_t type, std::vector<std::string>& names) override {
        if (type == 0)
            return kEmpty;
        names = {"Auto", "100 mV", "1 V", "10 V"};
        return kRows;
    }
    Result Resolutions(std::int32_t type, std::vector<std::string>& names) override {
        if (type == 0)
            return kEmpty;
        names = {"6.5 digits", "5.5 digits", "4.5 digits"};
        return kRows;
    }
};

struct FakeColorPicker final : IColorPicker {
    bool answer = true;
    std::uint32_t chosen = 0x0000FF;
    int asked = 0;
    bool PickColor(std::uint32_t& colour) override {
        ++asked;
        if (answer)
            colour = chosen;
        return answer;
    }
};
