#include "app/ILoggerApp.h"

#include "database/CStateInfo.h"

void ILoggerApp::CopyStateInfo(CStateInfo& out) {
    out = GetStateInfo();
}

void ILoggerApp::SetStateInfo(const CStateInfo& in) {
    GetStateInfo() = in;
}
