#include "graphics/displays/indicator/IGaugeWindow.h"

namespace {
IGaugeWindows* g_installed = nullptr;
IGaugeWindows* g_scoped = nullptr;
} // namespace

IGaugeWindows* GaugeWindowMaker() {
    return g_scoped ? g_scoped : g_installed;
}

void InstallGaugeWindows(IGaugeWindows* maker) {
    g_installed = maker;
}

ScopedGaugeWindows::ScopedGaugeWindows(IGaugeWindows* maker) : m_previous(g_scoped) {
    g_scoped = maker;
}

ScopedGaugeWindows::~ScopedGaugeWindows() {
    g_scoped = m_previous;
}
