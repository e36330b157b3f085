#include "app/frame/FileCommandWiring.h"

#include <QApplication>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/SaveSetupModel.h"
#include "app/TipOfDay.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CShowToolbarsDialog.h"
#include "app/frame/CStartupDialogs.h"
#include "app/frame/FrameCommands.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/DatasetDirEntry.h"
#include "database/WorkspaceTree.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/MfxCursor.h"
#include "scan/ValueFormat.h"

namespace {} // namespace

bool FrameFileWindows::RunNewSetup(NewSetupModel& model) {
    CNewSetupDialog dialog(model, &m_frame);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool ok = dialog.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    return ok;
}

int FrameFileWindows::RunOpen(OpenSetupModel& model) {
    const std::vector<WorkspaceTreeSetup> setups =
        ReadWorkspaceTree(m_doc.GetStateInfo().GetDatabase());
    COpenSetupDialog dialog(model, setups, &m_frame);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int end = dialog.exec();
    QApplication::restoreOverrideCursor();
    return end;
}

int FrameFileWindows::RunWelcome(bool instrumentAvailable) {
    CWelcomeDialog dialog(instrumentAvailable, &m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.Choice();
}

void FrameFileWindows::SetTitle(const std::string& title) {
    m_frame.setWindowTitle("Tallyvane - " + QString::fromStdString(title));
}

void FrameFileWindows::SetStatus(const std::string& text) {
    m_frame.SetStatusText(text, 0);
}

void FrameFileWindows::EnableFrame(bool enable) {
    m_frame.setEnabled(enable);
}

void FrameFileWindows::ResetPages() {
    m_frame.ResetPages();
}

void FrameFileWindows::InsertStripChart() {
    m_frame.CreateGraph(cmd::kStripChart);
}

FileCommandWiring::FileCommandWiring(CLoggerDoc& doc, CWorkspace& workspace, CMainFrame& frame,
                                     RecentSetupList& recent, CAppPreferences& preferences,
                                     std::string programDirectory)
    : m_doc(doc), m_frame(frame), m_recent(recent), m_preferences(preferences),
      m_programDirectory(std::move(programDirectory)), m_transfer(doc) {
    CStateInfo& state = doc.GetStateInfo();
    tvane::OdbcDatabase* database = state.GetDatabase();
    TransferDocument* transfer = &m_transfer;
    CLoggerDoc* document = &doc;
    OpenSetupModel::Services services = OpenSetupModel::WorkspaceServices(
        workspace, database,
        [document](std::int64_t time) { return document->FormatTime(tvane::CTime(time)); },
        [transfer](const std::string& key, const std::string& datasetFile,
                   OpenSetupModel::Info& info) {
            DatasetDirEntry entry;
            if (!transfer->OpenStoredDataset(key, datasetFile, entry))
                return false;
            FormatDuration(entry.LastTime - entry.FirstTime, info.duration, true);
            info.scans = tvane::Format("%ld", long(entry.ScanCount));
            info.events = tvane::Format("%ld", long(entry.EventCount));
            return true;
        });
    CMainFrame* owner = &frame;
    services.editProperties =
        [database, owner](int kind, const std::string& caption, const std::string& setup,
                          const std::string& dataset, const OpenSetupModel::Info& info,
                          RowProperties& out, std::string& lastModified) {
            SaveSetupModel model(SaveSetupModel::DatabaseLookups(database), tvane::Prompter());
            model.m_kind = kind;
            model.m_caption = caption;
            model.m_setupName = setup;
            model.m_datasetName = dataset;
            model.m_user = info.user;
            model.m_lastModified = info.lastModified;
            model.m_description = info.description;
            CSaveSetupDialog dialog(model, owner);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            out = {model.m_name, model.m_user, model.m_description};
            lastModified = model.m_lastModified;
            return true;
        };
    m_windows = std::make_unique<FrameFileWindows>(frame, doc);
    m_commands = std::make_unique<FileCommands>(doc, workspace, *m_windows, recent,
                                                NewSetupModel::DatabaseLookups(database),
                                                std::move(services));
    FileCommands* commands = m_commands.get();
    m_commands->SetUploadCommand([owner] { return owner->OnCmdMsg(cmd::kUploadSetup); });

    const auto enabled = [commands] { return commands->IsEnabled(); };
    const auto guarded = [](auto step) {
        return [step] {
            tvane::CMfxWaitCursor wait; // for as long as the command works
            step();
        };
    };
    frame.SetCommandHandler(cmd::kFileNew, guarded([commands] { commands->NewSetup(); }));
    frame.SetCommandHandler(cmd::kFileOpen, guarded([commands] { commands->Open(); }));
    frame.SetCommandHandler(cmd::kFileClose, guarded([commands] { commands->Close(); }));
    frame.SetCommandHandler(cmd::kModifyDelete, [commands] { commands->ModifyDelete(); });
    frame.SetCommandHandler(cmd::kWelcome, [commands] { commands->Welcome(); });
    for (unsigned id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileClose, cmd::kModifyDelete})
        frame.SetCommandEnabler(id, enabled);
    for (unsigned id = cmd::kRecentFirst; id <= cmd::kRecentLast; ++id) {
        const int index = static_cast<int>(id - cmd::kRecentFirst);
        frame.SetCommandHandler(id, guarded([commands, index] { commands->OpenRecent(index); }));
        frame.SetCommandEnabler(id, [commands, index, &recent] {
            return commands->IsEnabled() && !recent.Entry(index).empty();
        });
    }
    frame.SetRecentSetups([&recent] {
        std::vector<std::string> names;
        for (int i = 0; i < RecentSetupList::kSize; ++i)
            if (!recent.Entry(i).empty())
                names.push_back(recent.Entry(i));
        return names;
    });
    frame.SetCommandHandler(cmd::kTipOfTheDay, [this] { ShowTipOfTheDay(); });
    const std::string directory = m_programDirectory;
    frame.SetCommandHandler(cmd::kAbout, [owner, directory] {
        CAboutDialog dialog(directory, owner);
        dialog.exec();
    });
    frame.SetCommandHandler(cmd::kToolbars, [owner] { RunShowToolbars(owner->Bars(), owner); });
}

FileCommandWiring::~FileCommandWiring() {
    for (unsigned id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileClose, cmd::kModifyDelete,
                        cmd::kWelcome, cmd::kTipOfTheDay, cmd::kAbout, cmd::kToolbars}) {
        m_frame.SetCommandHandler(id, {});
        m_frame.SetCommandEnabler(id, {});
    }
    for (unsigned id = cmd::kRecentFirst; id <= cmd::kRecentLast; ++id) {
        m_frame.SetCommandHandler(id, {});
        m_frame.SetCommandEnabler(id, {});
    }
    m_frame.SetRecentSetups({});
}

void FileCommandWiring::ShowTipOfTheDay() {
    std::string show = "Y";
    m_preferences.GetPrefValue(CAppPreferences::kTipOfTheDay, show);
    TipOfDay tips(TipOfDay::TipsPath(m_programDirectory), show == "Y");
    CTipOfDayDialog dialog(
        tips,
        [this](const std::string& value) {
            m_preferences.SetPrefValue(CAppPreferences::kTipOfTheDay, value);
        },
        &m_frame);
    dialog.exec();
}
