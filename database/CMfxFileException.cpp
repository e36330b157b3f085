#include "database/CMfxFileException.h"

#include "platform/com/ComException.h"
#include "platform/storage/StorageError.h"

CMfxFileException::CMfxFileException(int cause, long osError, const char* fileName,
                                     const char* extraText)
    : tvane::FileException(cause, osError, fileName ? fileName : ""),
      m_extra(extraText ? extraText : ""), m_message(GetErrorMessage()) {}

std::string CMfxFileException::GetErrorMessage() const {
    std::string message = tvane::FileException::GetErrorMessage();
    if (!m_extra.empty())
        message += " " + m_extra;
    return message;
}

std::string CMfxFileException::GetErrorMessage(std::size_t maxLength) const {
    std::string message = GetErrorMessage();
    if (message.size() > maxLength)
        message.resize(maxLength);
    return message;
}

void ThrowMfxFileException(int cause, long osError, const char* fileName, const char* extraText) {
    throw CMfxFileException(cause, osError, fileName, extraText);
}

void ThrowStorageException(std::int32_t status, const char* fileName) {
    if (status == tvane::STG_E_FILENOTFOUND)
        ThrowMfxFileException(tvane::FileException::fileNotFound, -1, fileName);
    if (status == tvane::STG_E_ACCESSDENIED)
        ThrowMfxFileException(tvane::FileException::accessDenied, -1, fileName);
    throw tvane::ComException(status);
}
