#pragma once
#include "platform/core/Exception.h"

#include <string>

namespace tvane {

// Thrown by CArchive when data cannot be written or read as asked: truncated or
// malformed input, unknown classes, misuse of the archive's direction.
class CArchiveException : public Exception {
public:
    // The numbers are those the archive format's exceptions have always used.
    enum Cause {
        none = 0,
        generic = 1,
        readOnly = 2,  // writing to a loading archive
        endOfFile = 3, // the data ended early
        writeOnly = 4, // reading from a storing archive
        badIndex = 5,  // an object or class reference that does not exist
        badClass = 6,  // unknown class name, or not the class asked for
        badSchema = 7, // the class is known with another schema
    };

    CArchiveException(Cause cause, const std::string& detail);

    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

} // namespace tvane
