#include "platform/com/Dispatch.h"

namespace tvane {

void ClearExcepInfo(EXCEPINFO* info) {
    if (!info)
        return;
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    *info = EXCEPINFO{};
}

} // namespace tvane
