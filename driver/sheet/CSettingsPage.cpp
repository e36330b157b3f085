#include "driver/sheet/CSettingsPage.h"

#include <QPushButton>

#include "driver/sheet/SheetDialogFont.h"
#include "platform/sheet/PropertySheet.h"

namespace tvane::driver {

void CSettingsPage::OnInitPage() {
    BuildPage();
    SetDialogFont(this);
    // Every action takes effect at once, so there is nothing to confirm.
    if (PropertySheet* sheet = Sheet()) {
        sheet->OkButton()->hide();
        sheet->CancelButton()->setText(QStringLiteral("Close"));
    }
}

} // namespace tvane::driver
