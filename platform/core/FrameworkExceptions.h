#pragma once
#include <string>

#include "platform/core/Exception.h"

namespace tvane {

// The class library's own exceptions that code throughout the system throws and
// catches. Out of memory is std::bad_alloc.

// A file that is missing or cannot be used. Cause codes are those that stored
// reports and help pages refer to.
class FileException : public Exception {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    FileException(int cause, long osError, std::string fileName);

    int Cause() const { return m_cause; }
    long OsError() const { return m_osError; }
    const std::string& FileName() const { return m_fileName; }
    // The message names the file and the cause.
    virtual std::string GetErrorMessage() const;

    // The user's text for a cause, e.g. "File not found."; "File error." for
    // codes outside 1..14.
    static std::string CauseText(int cause);
    // The cause of a failed open, create or write from the system's errno.
    static int CauseFromErrno(int error);

private:
    int m_cause;
    long m_osError;
    std::string m_fileName;
};

class NotSupportedException : public Exception {
public:
    NotSupportedException() : Exception("operation not supported") {}
};

// Lack of a system resource (a window, a timer, a drawing object).
class ResourceException : public Exception {
public:
    ResourceException() : Exception("resource not available") {}
};

} // namespace tvane
