#include "platform/core/LocaleFormats.h"

namespace tvane {
namespace {
FixedLocaleFormats g_defaultLocale;
ILocaleFormats* g_locale = &g_defaultLocale;
} // namespace

ILocaleFormats& Locale() {
    return *g_locale;
}
void SetLocale(ILocaleFormats* locale) {
    g_locale = locale ? locale : &g_defaultLocale;
}

} // namespace tvane
