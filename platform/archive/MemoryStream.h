#pragma once
#include "platform/archive/IArchiveStream.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tvane {

// An archive stream over a byte vector with one position for reading and
// writing; writing past the end grows the buffer.
class MemoryStream final : public IArchiveStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    MemoryStream(const void* data, std::size_t size);

    std::size_t Read(void* buffer, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> TakeBytes();
    std::size_t Size() const { return m_bytes.size(); }
    std::size_t Position() const { return m_position; }
    // Positions beyond the end are clamped to the end.
    void Seek(std::size_t position);

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

} // namespace tvane
