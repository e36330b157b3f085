#include "comm/DialogOwner.h"

namespace tvane::comm {
namespace {
WindowHandle g_owner = nullptr;
} // namespace

WindowHandle DialogOwner() {
    return g_owner;
}

ScopedDialogOwner::ScopedDialogOwner(WindowHandle owner) : m_previous(g_owner) {
    g_owner = owner;
}

ScopedDialogOwner::~ScopedDialogOwner() {
    g_owner = m_previous;
}

} // namespace tvane::comm
