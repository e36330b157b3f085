#include "setup/ComputedChannelRules.h"

#include <cstdlib>

#include "platform/core/Format.h"
#include "scan/CCompChnl.h"
#include "setup/SheetTexts.h"

namespace computed {

const std::vector<Category>& Categories() {
    static const std::vector<Category> kCategories = {
        {"Basic Math",
         "Argument 1",
         "Argument 2",
         {
             {"Sum", 2, "Arg1 + Arg2", "The Sum of Argument1 and Argument2"},
             {"Difference", 2, "Arg1 - Arg2", "The Difference of Argument1 and Argument2"},
             {"Product", 2, "Arg1 * Arg2", "The Product of Argument1 and Argument2"},
             {"Ratio", 2, "Arg1 / Arg2", "The Ratio of Argument1 and Argument2"},
             {"Square Root", 1, "SquareRoot(Arg1)", "The Square Root of Argument1"},
             {"Square", 1, "Arg1 * Arg1", "The Square of Argument1"},
         }},
        {"Power Equations",
         "Argument 1",
         "Argument 2",
         {
             {"dB", 2, "10 * log( (Arg1*Arg1) / (Arg2*Arg2) )",
              "Voltage or current measurements across the same resistance"},
             {"dBm", 2, "10 * log( (Arg1*Arg1) / Arg2 / 0.001 )",
              "dB power from a voltage meas. across a R0 relative to 1 milliWatt"},
             {"dBV", 1, "10 * log( Arg1*Arg1)", "Special case of dBm for a R0 of 1kOhm"},
         }},
        {"Strain Equations",
         "Argument 1 - Bridge Output Voltage (Vout)",
         "Argument 2 - Bridge Excitation (Supply) Voltage (Vexcitation)",
         {
             {"Full Bridge (Bending)", 2, "Full Bridge-Bending(Arg1) : E = -Vr/GF",
              "Four strain gages in the Wheastone Bridge Circuit"},
             {"Half Bridge (Bending)", 2, "Half Bridge-Bending(Arg1) : E = -2Vr/GF",
              "Two strain gages in the Wheatstone Bridge Circuit"},
             {"Quarter Bridge", 2, "Quarter Bridge-Bending(Arg1) : E = -4Vr/GF(1+2Vr)",
              "One strain gage in the Wheatstone Bridge Circuit"},
         }},
    };
    return kCategories;
}

const Function* FunctionOf(int code) {
    if (code < 0)
        return nullptr;
    const auto& categories = Categories();
    const auto category = static_cast<std::size_t>(code / 10);
    const auto function = static_cast<std::size_t>(code % 10);
    if (category >= categories.size() || function >= categories[category].functions.size())
        return nullptr;
    return &categories[category].functions[function];
}

long ChannelOfItem(const std::string& item) {
    const std::size_t open = item.find('<');
    if (open == std::string::npos)
        return 0;
    return std::strtol(item.c_str() + open + 1, nullptr, 10);
}

namespace {

// One argument into its operand; names is "Argument 1" or "Argument 2".
Refusal ApplyArgument(int index, const Argument& arg, long ownChannel, int code,
                      CCompChnlArg& operand) {
    const std::string name = tvane::Format("Argument %d", index);
    if (arg.kind == kChannel) {
        if (arg.channelItem.empty())
            return {name + " is empty or invalid", name, index};
        const long channel = ChannelOfItem(arg.channelItem);
        if (channel <= 0)
            return {name + " is empty or invalid", name, index};
        if (ownChannel != 0 && channel == ownChannel)
            return {name + " can not be itself", name, index};
        operand.Channel = static_cast<std::int32_t>(channel);
        return {};
    }
    if (arg.constantText.empty())
        return {name + "'s value is invalid", name, index};
    const double value = std::atof(arg.constantText.c_str());
    if (index == 1 && code == CCompChnl::kSquareRoot && value < 0.0)
        return {name + " can not be negative", name, index};
    if (index == 2 && value == 0.0 &&
        (code == CCompChnl::kRatio || code == CCompChnl::kPowerRatio ||
         code == CCompChnl::kPowerIntoResistance || code / 10 == kStrainCategory))
        return {name + " can not be 0", name, index};
    operand.Channel = CCompChnlArg::kConstant;
    operand.Value = value;
    return {};
}

} // namespace

Refusal Apply(int category, int function, const Argument& arg1, const Argument& arg2,
              long ownChannel, CCompChnl& record) {
    const int code = (category < 0 ? 0 : category) * 10 + (function < 0 ? 0 : function);
    record.Operation = code;
    const Function* selected =
        category < 0 || function < 0 ? nullptr : FunctionOf(category * 10 + function);
    const int arguments = selected ? selected->arguments : 0;
    if (arguments == 2 && arg1.kind == kConstant && arg2.kind == kConstant)
        return {sheettext::kBothConstants, sheettext::kComputedTitle, 1};
    if (Refusal r = ApplyArgument(1, arg1, ownChannel, code, record.Arg1))
        return r;
    if (arguments == 2) {
        if (Refusal r = ApplyArgument(2, arg2, ownChannel, code, record.Arg2))
            return r;
    } else {
        record.Arg2.Channel = CCompChnlArg::kNone;
    }
    if (record.RefExcitation == 0.0)
        return {"Supply Voltage can not be 0", "Constant", 0};
    if (record.GaugeFactor == 0.0)
        return {"Gage Factor can not be 0", "Constant", 0};
    if (record.Channel > 0 &&
        (record.Arg1.Channel > record.Channel || record.Arg2.Channel > record.Channel))
        return {tvane::Format("Argument(s) ChannelId's can not be greater than <%ld>",
                              static_cast<long>(record.Channel)),
                "Arguments", 0};
    return {};
}

} // namespace computed
