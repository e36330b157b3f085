#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace tvane {
class CArchive;
}

// A file that remembers its name and whether it is open, and that can carry
// its whole content inside a document archive: stored, the file's bytes follow
// a 32-bit length; loaded, the file is written back from them. The chart
// displays keep their state files beside the document this way.
class CMfxFile {
public:
    enum OpenFlags : unsigned { modeRead = 0, modeReadWrite = 2, modeCreate = 0x1000 };
    static constexpr std::size_t kBufferSize = 50000;
    static constexpr std::size_t kSmallBufferSize = 25000;
    static constexpr const char* kLowMemory = "Couldn't Serialize CMfxFile - Low Memory"; // 932
    static constexpr unsigned kLowMemoryHelp = 13000;
    static constexpr const char* kDiskFull = "Insufficient disk space to store readings"; // 931
    static constexpr unsigned kDiskFullHelp = 13173;

    CMfxFile() = default;
    // Opens the file; throws the class library's file exception when it cannot.
    CMfxFile(const std::string& fileName, unsigned flags);
    ~CMfxFile();
    CMfxFile(const CMfxFile&) = delete;
    CMfxFile& operator=(const CMfxFile&) = delete;

    void SetFileName(const std::string& name) { m_fileName = name; }
    const std::string& GetFileName() const { return m_fileName; }
    bool IsOpen() const { return m_open; }

    // 0 when open (or already open), else the file exception's cause: 2 without a name.
    int Open(unsigned flags);
    void Close();
    // 0, or the cause of the failed write; a full disk is reported and closes the file.
    int WriteBlock(const void* data, std::size_t count);
    void Serialize(tvane::CArchive& ar);

    // The transfer buffer's allocation; tests replace it to run out of memory.
    static void* (*s_allocate)(std::size_t size);

private:
    std::string m_fileName;
    bool m_open = false;
    std::FILE* m_file = nullptr;
};
