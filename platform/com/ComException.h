#pragma once
#include <string>

#include "platform/com/Dispatch.h"
#include "platform/com/ErrorInfo.h"
#include "platform/core/Exception.h"

namespace tvane {

// A failed component call: its status code and, when the callee left error
// information, its description, source and help. what() is the description, or
// the code's text when there is none.
class ComException : public Exception {
public:
    explicit ComException(HRESULT hr, std::string description = {}, std::string source = {},
                          std::string helpFile = {}, DWORD helpContext = 0);
    ~ComException() override; // out of line: one type identity for every module
    HRESULT Code() const { return m_hr; }
    const std::string& Description() const { return m_description; }
    const std::string& Source() const { return m_source; }
    const std::string& HelpFile() const { return m_helpFile; }
    DWORD HelpContext() const { return m_helpContext; }

private:
    HRESULT m_hr;
    std::string m_description, m_source, m_helpFile;
    DWORD m_helpContext;
};

// An exception raised by an automation member (Invoke returned DISP_E_EXCEPTION
// with an EXCEPINFO). A member of a DispatchTable throws it to fail that way;
// a DispatchDriver throws it when the callee did. Code() is DISP_E_EXCEPTION;
// the member's own code is WCode() (a small number) or SCode() (a status code).
class DispatchException : public ComException {
public:
    explicit DispatchException(std::string description, WORD wCode = 0, SCODE scode = 0,
                               std::string source = {}, std::string helpFile = {},
                               DWORD helpContext = 0);
    ~DispatchException() override;
    WORD WCode() const { return m_wCode; }
    SCODE SCode() const { return m_scode; }

    // Fills info (texts newly allocated; the caller frees them). When neither code
    // was given, scode becomes E_FAIL so that one of them is set.
    void Fill(EXCEPINFO* info) const;
    // Reads info (running its deferred fill-in first) and frees its texts.
    static DispatchException Take(EXCEPINFO* info);

private:
    WORD m_wCode;
    SCODE m_scode;
};

// Throws a ComException for a failed hr, carrying the error information that
// object left for interface iid (when object is given and supports it).
void ThrowIfFailed(HRESULT hr, IUnknown* object = nullptr, REFIID iid = IID_NULL);

} // namespace tvane
