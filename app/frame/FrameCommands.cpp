#include "app/frame/FrameCommands.h"

bool IsCommandRouted(unsigned id, bool hasDocument, bool setupLoaded) {
    using namespace cmd;
    switch (id) {
    case kFileNew:
    case kFileOpen:
    case kFileClose:
    case kWelcome:
    case kToolbars:
    case kExit:
    case kCommunicationsSetup:
    case kModifyDelete:
    case kUploadSetup:
    case kInstrumentSettings:
    case kPreferences:
    case kPrintSetup:
    case kImportSetups:
    case kExportSetups:
    case kTipOfTheDay:
    case kAbout:
    case kHelpSearch:
        return true;
    default:
        break;
    }
    if ((id >= kRecentFirst && id <= kRecentLast) || (id >= kHelpFirst && id <= kHelpLast) ||
        (id >= kPaneFirst && id <= kPaneLast))
        return true;
    return !hasDocument || setupLoaded;
}
