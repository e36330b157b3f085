#pragma once
#include <string>

#include "platform/archive/CObject.h"
#include "platform/com/Guid.h"

// Root of the instrument binding: the class and ProgID of the driver object and
// the binding's own error record. It stores nothing in an archive.
class COleDriver : public tvane::CObject {
    DECLARE_DYNCREATE(COleDriver)

public:
    COleDriver() = default;
    COleDriver(const COleDriver&) = delete;
    COleDriver& operator=(const COleDriver&) = delete;
    virtual ~COleDriver() = default;

    virtual BOOL Create(const std::string& progId);
    // Copies the control's last communications error into the error record.
    virtual BOOL GetLastCommError();
    // The error record; always TRUE.
    virtual BOOL GetError(std::string& text, LONG& code);
    // Back to code 0 and the no-error text.
    void ClearError();

    const CLSID& Clsid() const { return m_clsid; }
    const std::string& ProgID() const { return m_progId; }

protected:
    CLSID m_clsid = GUID_NULL;
    std::string m_progId;
    LONG m_errorCode = 0;
    std::string m_noErrorText = "No Error";
    std::string m_errorText = m_noErrorText;
};
