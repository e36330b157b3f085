#pragma once
#include <cstddef>

namespace tvane {

// The byte source or sink under a CArchive: a memory buffer, a compound-file
// stream, a file. The archive reads exactly the bytes it needs, so a stream may
// hold more data after the archive's part.
class IArchiveStream {
public:
    virtual ~IArchiveStream() = default;
    // Copies up to size bytes; fewer only at the end of the data.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // Writes all bytes or throws.
    virtual void Write(const void* data, std::size_t size) = 0;
};

} // namespace tvane
