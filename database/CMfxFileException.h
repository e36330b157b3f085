#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/FrameworkExceptions.h"

// A file exception whose message carries an extra text after the library's own.
class CMfxFileException : public tvane::FileException {
public:
    CMfxFileException(int cause, long osError, const char* fileName, const char* extraText);

    const std::string& ExtraText() const { return m_extra; }
    // "<library message> <extra text>", or the library message alone.
    std::string GetErrorMessage() const override;
    std::string GetErrorMessage(std::size_t maxLength) const;
    // The full message, extra text included.
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_extra;
    std::string m_message;
};

[[noreturn]] void ThrowMfxFileException(int cause, long osError, const char* fileName,
                                        const char* extraText = nullptr);

// A compound-file status as the exception the rest of the program catches: file
// not found and access denied become file exceptions, anything else a component
// exception with the status.
[[noreturn]] void ThrowStorageException(std::int32_t status, const char* fileName);
