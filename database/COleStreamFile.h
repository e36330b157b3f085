#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/storage/Storage.h"

// A stream of a compound file seen as a file: every failure of the stream is
// thrown as a FileException naming the stream, as the dataset code's callers
// expect of file operations.
class COleStreamFile {
public:
    COleStreamFile() = default;
    COleStreamFile(COleStreamFile&&) noexcept = default;
    COleStreamFile& operator=(COleStreamFile&&) noexcept = default;
    ~COleStreamFile() { Abort(); }

    bool IsOpen() const { return m_stream.IsOpen(); }
    const std::string& GetName() const { return m_name; }

    // Both fail (FileException naming the stream) when the element is missing
    // (open) or already there without STGM_CREATE (create).
    void OpenStream(tvane::Storage& storage, const std::string& name, tvane::StorageMode mode);
    void CreateStream(tvane::Storage& storage, const std::string& name, tvane::StorageMode mode);
    // Takes over a stream the caller opened or created.
    void Attach(tvane::Stream stream, const std::string& name);

    // Fewer bytes than asked at the end of the stream; never throws for that.
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* data, std::size_t count);
    std::uint64_t Seek(std::int64_t offset, int origin);
    std::uint64_t SeekToEnd() { return Seek(0, tvane::STREAM_SEEK_END); }
    std::uint64_t GetPosition() const { return m_stream.Position(); }
    std::uint64_t GetLength() const;
    void SetLength(std::uint64_t length);
    // Makes everything written to the file so far durable.
    void Flush();
    void Close();
    // Releases the stream, dropping any failure.
    void Abort() noexcept;

private:
    [[noreturn]] void Fail(const tvane::StorageException& e) const;

    tvane::Stream m_stream;
    std::string m_name;
};
