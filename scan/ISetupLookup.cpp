#include "scan/ISetupLookup.h"

namespace {
ISetupLookup* g_lookup = nullptr;
}

ISetupLookup* SetupLookup() {
    return g_lookup;
}
void SetSetupLookup(ISetupLookup* lookup) {
    g_lookup = lookup;
}
