#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "platform/core/Exception.h"

// The source position of a throw as the exceptions report it: file, line and the
// source file's time stamp as the compiler prints it.
#define MFX_THROW_SITE __FILE__, __LINE__, __TIMESTAMP__

// The program's own failure report: severity, where it was thrown, what went wrong
// and what the user should do. Catchers call Handle.
class CMfxException : public tvane::Exception {
public:
    enum Severity { Warning = 0, Fatal = 1 };

    CMfxException();
    // objectToDelete is released by Handle only (a display's window that cannot
    // be kept); an exception that is never handled lets go of it when the last
    // copy goes.
    CMfxException(int errorCode, int severity, std::shared_ptr<void> objectToDelete,
                  std::string sourceFile, int line, std::string lastModified);

    int ErrorCode() const { return m_errorCode; }
    int GetSeverity() const { return m_severity; }
    const std::string& SeverityText() const { return m_severityText; }
    const std::string& Cause() const { return m_cause; }
    const std::string& Action() const { return m_action; }
    const std::string& SourceFile() const { return m_sourceFile; }
    int Line() const { return m_line; }
    const std::string& LastModified() const { return m_lastModified; }
    bool HasObjectToDelete() const { return m_objectToDelete != nullptr; }

    void SetCause(std::string cause) { m_cause = std::move(cause); }
    void SetAction(std::string action) { m_action = std::move(action); }

    // The report, cut to maxLength characters.
    virtual std::string GetReportText(std::size_t maxLength = std::string::npos) const;
    // Shows the report in an exclamation box with an OK button.
    virtual void ShowReport() const;
    // Report; a fatal one then asks the main window to close; the object to
    // delete is released.
    virtual void Handle();

    const char* what() const noexcept override;

private:
    int m_errorCode = 0;
    int m_severity = 0;
    std::string m_cause;
    std::string m_severityText;
    std::shared_ptr<void> m_objectToDelete;
    std::string m_sourceFile;
    int m_line = 0;
    std::string m_lastModified;
    std::string m_action;
    mutable std::string m_what;
};
