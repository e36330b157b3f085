#include "platform/sheet/PropertyPage.h"

namespace tvane {

PropertyPage::PropertyPage(const QString& title, unsigned helpId)
    : m_title(title), m_helpId(helpId) {}

} // namespace tvane
