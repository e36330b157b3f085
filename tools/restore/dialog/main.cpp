#include <QApplication>

#include "database/DataSource.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtPrompter.h"
#include "tools/restore/DatabaseRestore.h"
#include "tools/restore/RestoreTexts.h"
#include "tools/restore/dialog/RestoreDialog.h"

int main(int argc, char** argv) {
    // The workspace's data source is the one the program keeps in its own folder.
    UseProgramDataSourceFile();
    QApplication app(argc, argv);
    tvane::KeepCNumberFormat();
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
