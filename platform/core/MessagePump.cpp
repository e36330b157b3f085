#include "platform/core/MessagePump.h"

namespace tvane {
namespace {
struct NoPump final : IMessagePump {
    void Pump() override {}
};
NoPump g_noPump;
IMessagePump* g_pump = &g_noPump;
} // namespace

IMessagePump& MessagePump() {
    return *g_pump;
}
void SetMessagePump(IMessagePump* pump) {
    g_pump = pump ? pump : &g_noPump;
}

} // namespace tvane
