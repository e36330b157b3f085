#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/IDocumentInstrument.h"

class CMainFrame;

// The instrument work's windows over the main frame: the progress dialog, the
// frame's monitor display and the download notice.
class FrameInstrumentUi final : public IInstrumentUi {
public:
    using NewSetupHandler = std::function<void(CLoggerDoc&)>;

    explicit FrameInstrumentUi(CMainFrame* frame) : m_frame(frame) {}

    std::unique_ptr<IInstrumentProgress> CreateProgress(const std::string& caption) override;
    void ShowMonitorChannel(std::int32_t channel, bool monitored) override;
    void ShowMonitorValue(double value, const std::string& label) override;
    bool RunDownloadNotice(CDownloadNotice& notice) override;
    // Runs the handler the program's new-setup command installs; none yet
    // means the upload choice has no effect beyond leaving the download.
    void NewSetupFromUpload(CLoggerDoc& document) override;

    void SetNewSetupHandler(NewSetupHandler handler) { m_newSetup = std::move(handler); }

private:
    CMainFrame* m_frame;
    NewSetupHandler m_newSetup;
};
