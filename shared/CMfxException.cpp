#include "shared/CMfxException.h"

#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "shared/MainWindow.h"

namespace {

std::string SeverityName(int severity) {
    switch (severity) {
    case CMfxException::Warning:
        return "Warning";
    case CMfxException::Fatal:
        return "Fatal";
    default:
        return "";
    }
}

} // namespace

CMfxException::CMfxException() : tvane::Exception("") {}

CMfxException::CMfxException(int errorCode, int severity, std::shared_ptr<void> objectToDelete,
                             std::string sourceFile, int line, std::string lastModified)
    : tvane::Exception(""), m_errorCode(errorCode), m_severity(severity),
      m_severityText(SeverityName(severity)), m_objectToDelete(std::move(objectToDelete)),
      m_sourceFile(std::move(sourceFile)), m_line(line), m_lastModified(std::move(lastModified)) {}

std::string CMfxException::GetReportText(std::size_t maxLength) const {
    std::string text = tvane::Format("ERROR: Severity = %s\nFile: %s, Line: %d, Last Modified: "
                                     "%s\nCause: %s\nAction To Take: %s",
                                     m_severityText.c_str(), m_sourceFile.c_str(), m_line,
                                     m_lastModified.c_str(), m_cause.c_str(), m_action.c_str());
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

void CMfxException::ShowReport() const {
    tvane::MessageRequest box;
    box.text = GetReportText(255);
    box.caption = "";
    box.buttons = tvane::MsgButtons::Ok;
    box.icon = tvane::MsgIcon::Warning;
    tvane::Prompter().Ask(box);
}

void CMfxException::Handle() {
    ShowReport();
    // Any severity other than fatal is a warning.
    if (m_severity == Fatal) {
        if (tvane::IMainWindow* window = tvane::MainWindow())
            window->PostClose();
    }
    m_objectToDelete.reset();
}

const char* CMfxException::what() const noexcept {
    try {
        m_what = GetReportText();
    } catch (...) {
        return "CMfxException";
    }
    return m_what.c_str();
}
