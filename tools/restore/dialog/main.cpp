#include <QApplication>

#include "platform/ui/Prompter.h"
#include "tools/restore/DatabaseRestore.h"
#include "tools/restore/RestoreTexts.h"
#include "platform/widgets/QtPrompter.h"
#include "tools/restore/dialog/RestoreDialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(restore_texts::kProgramName));
    tvane::QtPrompter prompter(restore_texts::kProgramName);
    tvane::SetPrompter(&prompter);
    {
        DatabaseRestore restore(prompter);
        RestoreDialog dialog(restore, prompter);
        dialog.exec();
    }
    tvane::SetPrompter(nullptr);
    return 0;
}
