// Tvane: the data logging program. "Tvane -r" registers the communications
// control and the instrument driver and ends.
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/ProgramHost.h"
#include "app/frame/QtServices.h"
#include "app/startup/CLoggerApp.h"
#include "app/startup/ComponentRegistration.h"
#include "database/CStateInfo.h"
#include "database/DataSource.h"
#include "platform/core/Format.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "platform/widgets/QtPrompter.h"
#include "shared/view/MfxFontQt.h"

namespace {

std::string ProgramDirectory(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

int s_signalFds[2] = {-1, -1};
bool s_quitRequested = false;

void OnQuitSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(s_signalFds[0], &byte, 1);
}

// A terminal's Ctrl+C or a session's SIGTERM ends the program through its normal
// shutdown, so the clean-exit marker and the backup are written and the open
// dataset is closed with its readings. Nobody is there to answer: every event
// loop ends, those of open dialogs and message boxes too, any box still to come
// returns at once, and a signal during start-up keeps the main loop from
// starting.
void QuitOnSignals(QObject* parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_signalFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(s_signalFds[1], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        [[maybe_unused]] const auto got = ::read(s_signalFds[1], &byte, 1);
        s_quitRequested = true;
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // One that came while whoever started the program held it back is taken now.
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGINT);
    sigaddset(&quitSignals, SIGTERM);
    sigprocmask(SIG_UNBLOCK, &quitSignals, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string programDir = ProgramDirectory(argv[0]);
    CStateInfo::SetProgramDirectory(programDir);
    UseProgramDataSourceFile();

    // Registration needs no window system: its boxes go to standard error.
    if (IsRegisterCommand(arguments)) {
        ProgramHost host;
        CLoggerApp app(host, programDir);
        return app.InitInstance(arguments) ? 0 : 1;
    }

    QApplication qapp(argc, argv);
    tvane::KeepCNumberFormat();
    QApplication::setApplicationName("Tvane");
    tvane::QtPrompter prompter("Tvane");
    QtHelp help;
    QtLocaleFormats locale;
    QtMessagePump pump;
    // Posted messages (the setup grid's cell controls) run from the event loop.
    tvane::QtMessageScheduler scheduler;
    tvane::SetMessageScheduler(&scheduler);
    tvane::SetPrompter(&prompter);
    tvane::SetHelp(&help);
    tvane::SetLocale(&locale);
    tvane::SetMessagePump(&pump);
    QuitOnSignals(&qapp);
    // Every dialog takes the one shared dialog font.
    CreateDialogFont();

    int code = 1;
    {
        ProgramHost host(programDir);
        CLoggerApp app(host, programDir);
        if (app.InitInstance(arguments) && host.Frame())
            code = s_quitRequested ? 0 : QApplication::exec();
        code = app.ExitInstance(code);
    }
    DeleteDialogFont();
    tvane::SetMessagePump(nullptr);
    tvane::SetLocale(nullptr);
    tvane::SetHelp(nullptr);
    tvane::SetPrompter(nullptr);
    tvane::SetMessageScheduler(nullptr);
    return code;
}
