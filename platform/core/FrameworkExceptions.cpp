#include "platform/core/FrameworkExceptions.h"

#include <cerrno>

namespace tvane {

namespace {

std::string Message(const std::string& fileName, int cause) {
    const std::string text = FileException::CauseText(cause);
    return fileName.empty() ? text : fileName + ": " + text;
}

} // namespace

FileException::FileException(int cause, long osError, std::string fileName)
    : Exception(Message(fileName, cause)), m_cause(cause), m_osError(osError),
      m_fileName(std::move(fileName)) {}

std::string FileException::GetErrorMessage() const {
    return Message(m_fileName, m_cause);
}

std::string FileException::CauseText(int cause) {
    static const char* const texts[] = {
        "Generic file error.",
        "File not found.",
        "Bad path to file.",
        "Too many open files.",
        "File access denied.",
        "Use of invalid file handle.",
        "Attempted to remove the current working directory.",
        "No more directory entries available.",
        "Error setting the file pointer.",
        "Hardware error occurred.",
        "Sharing violation.",
        "Attempted to lock a region already locked.",
        "No room on the disk.",
        "End of file was reached before operation could complete.",
    };
    if (cause >= 1 && cause <= 14)
        return texts[cause - 1];
    return "File error.";
}

int FileException::CauseFromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return badPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

} // namespace tvane
