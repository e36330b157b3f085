#pragma once
#include <cstdint>

// Three words a graphics frame fills for the document.
class CDisplayRecord {
public:
    virtual ~CDisplayRecord() = default;

    std::int32_t m_first = 0;
    std::int32_t m_second = 0;
    std::int32_t m_third = 0;
};
