#include "app/frame/FrameInstrumentUi.h"

#include <QString>

#include "app/frame/CDownloadNoticeDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CProgressDialog.h"

namespace {

class FrameProgress final : public IInstrumentProgress {
public:
    FrameProgress(const std::string& caption, QWidget* owner) {
        m_dialog.setWindowTitle(QString::fromStdString(caption));
        m_dialog.Create(owner);
    }
    ~FrameProgress() override { m_dialog.DestroyWindow(); }
    void SetRange(int low, int high) override { m_dialog.SetRange(low, high); }
    void SetPos(int pos) override { m_dialog.SetPos(pos); }
    void SetText(const std::string& text) override { m_dialog.SetStatusText(text); }
    bool CheckCancel() override { return m_dialog.CheckCancel(); }

private:
    CProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<IInstrumentProgress> FrameInstrumentUi::CreateProgress(const std::string& caption) {
    return std::make_unique<FrameProgress>(caption, m_frame);
}

void FrameInstrumentUi::ShowMonitorChannel(std::int32_t, bool monitored) {
    // A monitored channel waits for its first reading; otherwise no channel.
    if (m_frame)
        m_frame->SetMonitorDisplay(monitored, false);
}

void FrameInstrumentUi::ShowMonitorValue(double value, const std::string& label) {
    if (m_frame)
        m_frame->SetMonitorDisplay(true, true, value, label);
}

bool FrameInstrumentUi::RunDownloadNotice(CDownloadNotice& notice) {
    CDownloadNoticeDialog dialog(notice, m_frame);
    return dialog.exec() == QDialog::Accepted;
}

void FrameInstrumentUi::NewSetupFromUpload(CLoggerDoc& document) {
    if (m_newSetup)
        m_newSetup(document);
}
