#include "shared/DiskSpace.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"

namespace {
constexpr const char* kProgramName = "Tvane";
}

std::string DiskSpaceMessage(double freeBytes, std::uint32_t required) {
    const char* freeSuffix = "";
    if (freeBytes >= 1000) {
        freeBytes = std::floor(freeBytes / 1000);
        freeSuffix = "K";
    }
    const char* requiredSuffix = "";
    if (required >= 1000) {
        required /= 1000;
        requiredSuffix = "K";
    }
    return tvane::Format("%0.lf%s bytes of free disk space is insufficient to continue.\nYou "
                         "need at least %u%s bytes free.",
                         freeBytes, freeSuffix, required, requiredSuffix);
}

bool CheckDiskSpace(std::uint32_t required, std::optional<double> freeBytes,
                    const std::string& error) {
    if (!freeBytes) {
        tvane::ShowMessage(error, tvane::MsgButtons::Ok, tvane::MsgIcon::Information, 0,
                           kProgramName);
        return false;
    }
    if (required <= *freeBytes)
        return true;
    tvane::ShowMessage(DiskSpaceMessage(*freeBytes, required), tvane::MsgButtons::Ok,
                       tvane::MsgIcon::Warning, 0, kProgramName);
    return false;
}

std::optional<double> FreeDiskBytes(const std::string& folder, std::string& error) {
    std::error_code ec;
    const auto info = std::filesystem::space(folder, ec);
    if (ec) {
        error = ec.message();
        return std::nullopt;
    }
    return static_cast<double>(info.available);
}
