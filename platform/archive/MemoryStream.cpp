#include "platform/archive/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace tvane {

MemoryStream::MemoryStream(const void* data, std::size_t size)
    : m_bytes(static_cast<const std::uint8_t*>(data),
              static_cast<const std::uint8_t*>(data) + size) {}

std::size_t MemoryStream::Read(void* buffer, std::size_t size) {
    const std::size_t n = std::min(size, m_bytes.size() - m_position);
    if (n > 0) {
        std::memcpy(buffer, m_bytes.data() + m_position, n);
        m_position += n;
    }
    return n;
}

void MemoryStream::Write(const void* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    if (m_position + size > m_bytes.size()) {
        m_bytes.resize(m_position + size);
    }
    std::memcpy(m_bytes.data() + m_position, data, size);
    m_position += size;
}

std::vector<std::uint8_t> MemoryStream::TakeBytes() {
    m_position = 0;
    return std::exchange(m_bytes, {});
}

void MemoryStream::Seek(std::size_t position) {
    m_position = std::min(position, m_bytes.size());
}

} // namespace tvane
