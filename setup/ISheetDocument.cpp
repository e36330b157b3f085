#include "setup/ISheetDocument.h"

std::string ChannelItemText(long number, const std::string& name) {
    return "<" + std::to_string(number) + ">" + name;
}
