#include "database/DatasetErrors.h"

#include "platform/core/FrameworkExceptions.h"

namespace dataset_errors {

using tvane::FileException;

int FileCause(tvane::StorageStatus status) {
    switch (static_cast<std::uint32_t>(status) & 0xFFFFu) {
    case 2: // file not found
    case 6: // invalid handle
        return FileException::fileNotFound;
    case 3:
        return FileException::badPath;
    case 4:
        return FileException::tooManyOpenFiles;
    case 5:
    case 80: // file exists
        return FileException::accessDenied;
    case 0x1D: // write fault
    case 0x1E: // read fault
        return FileException::hardIO;
    case 32:
        return FileException::sharingViolation;
    case 33:
        return FileException::lockViolation;
    case 39:
    case 112:
        return FileException::diskFull;
    default:
        return FileException::genericException;
    }
}

void ThrowStorageFailure(tvane::StorageStatus status, const std::string& name) {
    if (status == tvane::STG_E_FILENOTFOUND)
        throw FileException(FileException::fileNotFound, status, name);
    if (status == tvane::STG_E_ACCESSDENIED)
        throw FileException(FileException::accessDenied, status, name);
    throw tvane::StorageException(status, name);
}

void ThrowStreamFailure(tvane::StorageStatus status, const std::string& name) {
    throw FileException(FileCause(status), -1, name);
}

} // namespace dataset_errors
