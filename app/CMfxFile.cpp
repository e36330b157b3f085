#include "app/CMfxFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/archive/CArchive.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/ui/Prompter.h"

namespace {

void* Allocate(std::size_t size) {
    return std::calloc(size, 1);
}

struct FreeBuffer {
    void operator()(void* p) const { std::free(p); }
};

int CauseOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tvane::FileException::fileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return tvane::FileException::accessDenied;
    case EMFILE:
    case ENFILE:
        return tvane::FileException::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
        return tvane::FileException::diskFull;
    default:
        return tvane::FileException::genericException;
    }
}

void SkipEmbedded(tvane::CArchive& ar) {
    std::uint32_t length = 0;
    ar >> length;
    char skip[256];
    for (std::uint32_t left = length; left > 0;) {
        const std::size_t n = left < sizeof skip ? left : sizeof skip;
        ar.ReadExact(skip, n);
        left -= static_cast<std::uint32_t>(n);
    }
}

} // namespace

void* (*CMfxFile::s_allocate)(std::size_t size) = Allocate;

CMfxFile::CMfxFile(const std::string& fileName, unsigned flags) : m_fileName(fileName) {
    const int cause = Open(flags);
    if (cause != 0)
        throw tvane::FileException(cause, errno, fileName);
}

CMfxFile::~CMfxFile() {
    Close();
}

int CMfxFile::Open(unsigned flags) {
    if (m_open)
        return 0;
    if (m_fileName.empty())
        return tvane::FileException::fileNotFound;
    const char* mode = (flags & modeCreate) ? "w+b" : (flags & modeReadWrite) ? "r+b" : "rb";
    m_file = std::fopen(m_fileName.c_str(), mode);
    m_open = m_file != nullptr;
    return m_open ? 0 : CauseOf(errno);
}

void CMfxFile::Close() {
    if (m_file != nullptr && m_open)
        std::fclose(m_file);
    m_file = nullptr;
    m_open = false;
}

int CMfxFile::WriteBlock(const void* data, std::size_t count) {
    if (!m_open)
        return 0;
    if (count == 0)
        return 0;
    if (std::fwrite(data, 1, count, m_file) == count && std::fflush(m_file) == 0)
        return 0;
    const int cause = CauseOf(errno);
    if (cause == tvane::FileException::diskFull) {
        tvane::ShowMessage(kDiskFull, tvane::MsgButtons::Ok, tvane::MsgIcon::None, kDiskFullHelp);
        Close();
    }
    return cause;
}

void CMfxFile::Serialize(tvane::CArchive& ar) {
    std::size_t size = kBufferSize;
    std::unique_ptr<void, FreeBuffer> buffer(s_allocate(size));
    if (!buffer) {
        size = kSmallBufferSize;
        buffer.reset(s_allocate(size));
    }
    if (!buffer) {
        tvane::ShowMessage(kLowMemory, tvane::MsgButtons::Ok, tvane::MsgIcon::None, kLowMemoryHelp);
        // The archive stays readable: an empty file, or on loading the
        // embedded bytes passed over, so what follows them still reads.
        if (ar.IsStoring())
            ar << std::uint32_t{0};
        else
            SkipEmbedded(ar);
        return;
    }
    char* bytes = static_cast<char*>(buffer.get());
    if (ar.IsStoring()) {
        if (Open(modeRead) != 0) {
            ar << std::uint32_t{0};
            return;
        }
        std::fseek(m_file, 0, SEEK_END);
        const long length = std::ftell(m_file);
        ar << static_cast<std::uint32_t>(length < 0 ? 0 : length);
        if (length <= 0)
            return;
        std::fseek(m_file, 0, SEEK_SET);
        // Exactly the stated length goes into the archive, whatever the file
        // does meanwhile: a reader relies on it.
        std::size_t left = static_cast<std::size_t>(length);
        while (left > 0) {
            const std::size_t want = left < size ? left : size;
            std::size_t got = std::fread(bytes, 1, want, m_file);
            if (got < want)
                std::fill(bytes + got, bytes + want, '\0');
            got = want;
            ar.Write(bytes, got);
            left -= got;
        }
        return;
    }
    // A file that cannot be made still has its bytes passed over, so what the
    // archive holds after them reads as it should.
    if (Open(modeCreate | modeReadWrite) != 0) {
        SkipEmbedded(ar);
        return;
    }
    std::uint32_t length = 0;
    ar >> length;
    std::size_t left = length;
    while (left > 0) {
        const std::size_t want = left < size ? left : size;
        const std::size_t got = ar.Read(bytes, want);
        WriteBlock(bytes, got);
        if (got < want)
            break;
        left -= got;
    }
}
