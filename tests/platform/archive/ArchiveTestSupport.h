#pragma once
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tvane::test {

using Bytes = std::vector<std::uint8_t>;

template <class Fn> Bytes Store(Fn&& write) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    write(ar);
    return stream.TakeBytes();
}

template <class Fn> void Load(const Bytes& bytes, Fn&& read) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    read(ar);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

inline Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Serialisable classes of the tests.
class CSample : public CObject {
    DECLARE_SERIAL(CSample)
public:
    CSample() = default;
    explicit CSample(std::int32_t value) : m_value(value) {}
    void Serialize(CArchive& ar) override;
    std::int32_t m_value = 0;
};

class CDerivedSample : public CSample {
    DECLARE_SERIAL(CDerivedSample)
public:
    void Serialize(CArchive& ar) override;
    double m_extra = 0.0;
};

class COther : public CObject {
    DECLARE_SERIAL(COther)
public:
    void Serialize(CArchive& ar) override;
    std::uint16_t m_word = 0;
};

// Holds a child object by pointer, so loading nests one object inside another.
class CHolder : public CObject {
    DECLARE_SERIAL(CHolder)
public:
    ~CHolder() override;
    void Serialize(CArchive& ar) override;
    CSample* m_child = nullptr;
    std::uint32_t m_seenSchema = 0;
};

// Points at another node it does not own, so nodes can form a cycle.
class CNode : public CObject {
    DECLARE_SERIAL(CNode)
public:
    void Serialize(CArchive& ar) override;
    CNode* m_next = nullptr;
};

// A run-time class that cannot go into an archive.
class CPlain : public CObject {
    DECLARE_DYNAMIC(CPlain)
};

// Written under a schema the running program does not know.
class CSchemaOne : public CObject {
    DECLARE_SERIAL(CSchemaOne)
};

} // namespace tvane::test
