#include "platform/print/PrintSettings.h"

namespace tvane {

PrintSettings& ProgramPrintSettings() {
    static PrintSettings settings;
    return settings;
}

} // namespace tvane
