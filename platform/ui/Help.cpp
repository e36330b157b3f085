#include "platform/ui/Help.h"

namespace tvane {
namespace {
struct NoHelp final : IHelp {
    void ShowContext(unsigned) override {}
    void ShowContents() override {}
};
NoHelp g_noHelp;
IHelp* g_help = &g_noHelp;
} // namespace

IHelp& Help() {
    return *g_help;
}
void SetHelp(IHelp* help) {
    g_help = help ? help : &g_noHelp;
}

} // namespace tvane
