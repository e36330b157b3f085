#pragma once
#include "platform/archive/CArchiveException.h"
#include "platform/archive/CObject.h"
#include "platform/archive/CTime.h"
#include "platform/archive/IArchiveStream.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvane {

// Writes or reads the byte format of the MFC class library's CArchive, so that
// files written by either side load on the other:
// - scalars little-endian at their own width, no padding;
// - strings: a length byte below 0xFF; else 0xFF and a 16-bit length below
//   0xFFFE; else 0xFF, 0xFFFF and a 32-bit length; then the bytes, no terminator;
// - counts: 16 bits below 0xFFFF, else 0xFFFF and 32 bits;
// - object references: 0 for null; 0xFFFF, schema, name length and name for the
//   first object of a class; 0x8000 | index for a class seen before; the index
//   alone for an object written before. Classes and objects share one index
//   counter starting at 1; from index 0x7FFF on a reference is 0x7FFF followed by
//   a 32-bit index (with bit 31 set for a class).
// Loading checks every length, count, tag and index and throws CArchiveException
// rather than read past the end or trust a size it has not seen data for.
//
// Integer widths are explicit: use the fixed-width types. bool, long and the
// 64-bit integers have no operator, because the format has no width for them.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(IArchiveStream& stream, Mode mode);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Raw bytes. Read returns fewer bytes than asked only at the end of the data.
    void Write(const void* data, std::size_t size);
    std::size_t Read(void* buffer, std::size_t size);
    // Reads exactly size bytes or throws endOfFile.
    void ReadExact(void* buffer, std::size_t size);

    CArchive& operator<<(std::uint8_t value);
    CArchive& operator<<(std::int8_t value);
    CArchive& operator<<(char value);
    CArchive& operator<<(std::uint16_t value);
    CArchive& operator<<(std::int16_t value);
    CArchive& operator<<(std::uint32_t value);
    CArchive& operator<<(std::int32_t value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(std::string_view text);
    CArchive& operator<<(const char* text) {
        return *this << (text ? std::string_view(text) : std::string_view());
    }
    // 32-bit seconds since 1970, read back unsigned (good until 2106); a time
    // outside that span throws generic rather than be stored as another time.
    CArchive& operator<<(const CTime& time);

    CArchive& operator>>(std::uint8_t& value);
    CArchive& operator>>(std::int8_t& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(std::uint16_t& value);
    CArchive& operator>>(std::int16_t& value);
    CArchive& operator>>(std::uint32_t& value);
    CArchive& operator>>(std::int32_t& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(std::string& text);
    CArchive& operator>>(CTime& time);

    CArchive& operator<<(bool) = delete;
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    CArchive& operator<<(long long) = delete;
    CArchive& operator<<(unsigned long long) = delete;
    CArchive& operator>>(bool&) = delete;
    CArchive& operator>>(long&) = delete;
    CArchive& operator>>(unsigned long&) = delete;
    CArchive& operator>>(long long&) = delete;
    CArchive& operator>>(unsigned long long&) = delete;

    // Element counts of collections.
    void WriteCount(std::uint32_t count);
    std::uint32_t ReadCount();

    // Writes a reference to the object: null, a back-reference when this archive
    // has written this very object already (one that still lives: a later object
    // at the same address is another object), else its class tag followed by its
    // Serialize.
    void WriteObject(const CObject* object);
    // Reads an object reference. A new object is created by its class name and
    // loaded with its Serialize; the caller owns it. A back-reference returns the
    // object read earlier, as long as it lives: a reference to an object that is
    // gone (its owner released it, or its load failed) is refused with badIndex.
    // requested (may be null) is the class the object must be of (or derive
    // from), else badClass; the class is checked against the class tag the object
    // was read with, never by asking the object.
    CObject* ReadObject(const CRuntimeClass* requested);
    // The same, for an owner that takes each object it reads: a back-reference
    // to an object read earlier is refused (badIndex), so no object ends up owned
    // twice.
    std::unique_ptr<CObject> ReadOwnedObject(const CRuntimeClass* requested);

    template <std::derived_from<CObject> T> T* ReadObject() {
        return Typed<T>(ReadObjectReference(RUNTIME_CLASS(T), false));
    }
    template <std::derived_from<CObject> T> std::unique_ptr<T> ReadOwnedObject() {
        return std::unique_ptr<T>(Typed<T>(ReadObjectReference(RUNTIME_CLASS(T), true)));
    }

    // Class tags alone (the object's part is up to the caller).
    void WriteClass(const CRuntimeClass* runtimeClass);
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr,
                                   std::uint32_t* schema = nullptr);

    // While an object's Serialize runs during a load: the schema its class tag
    // carried. Each call after the first gives kNoSchema.
    static constexpr std::uint32_t kNoSchema = 0xFFFFFFFF;
    std::uint32_t GetObjectSchema();

private:
    friend class CObject;

    struct LoadEntry {
        enum Kind : std::uint8_t { kNull, kClass, kObject, kReleased };
        Kind kind;
        std::uint16_t schema;
        // The class of a class entry, or the class an object entry was read as.
        const CRuntimeClass* runtimeClass;
        CObject* object; // an object entry's object while it lives
    };
    struct Loaded {
        CObject* object;
        bool created;
        std::size_t index;
    };

    // The run-time class check passed; this catches a class that did not declare
    // its own run-time class and so passes as its base.
    template <class T> T* Typed(const Loaded& loaded) {
        if (loaded.object == nullptr) {
            return nullptr;
        }
        T* typed = dynamic_cast<T*>(loaded.object);
        if (typed == nullptr) {
            DiscardWrongType(loaded);
        }
        return typed;
    }
    [[noreturn]] void DiscardWrongType(const Loaded& loaded);

    void CheckStoring() const;
    void CheckLoading() const;
    template <class T> void WriteLE(T value);
    template <class T> T ReadLE();
    void WriteReference(std::uint32_t index, bool isClass);
    std::uint32_t NextIndex();
    // Reads a tag: a class (returned; the object follows) or an object index.
    const CRuntimeClass* ReadTag(const CRuntimeClass* requested, std::uint16_t& schema,
                                 std::uint32_t& objectIndex);
    // owned: refuse a back-reference to an object read before.
    Loaded ReadObjectReference(const CRuntimeClass* requested, bool owned);
    // An object this archive made is going: its entry no longer reaches it.
    void ForgetLoaded(std::uint32_t index);

    // An object as the store map knows it: its address and its serial number.
    struct StoreKey {
        const CObject* object;
        std::uint64_t serial;
        bool operator==(const StoreKey&) const = default;
    };
    struct StoreKeyHash {
        std::size_t operator()(const StoreKey& key) const {
            return std::hash<const void*>()(key.object) ^ std::hash<std::uint64_t>()(key.serial);
        }
    };

    IArchiveStream& m_stream;
    Mode m_mode;
    std::uint32_t m_objectSchema = kNoSchema;
    // Storing: the index given to each class and object written so far.
    std::unordered_map<const CRuntimeClass*, std::uint32_t> m_storeClasses;
    std::unordered_map<StoreKey, std::uint32_t, StoreKeyHash> m_storeObjects;
    std::uint32_t m_storeCount = 1; // index 0 is null
    // Loading: classes and objects in index order; entry 0 is null.
    std::vector<LoadEntry> m_loadMap;
};

template <std::derived_from<CObject> T> CArchive& operator<<(CArchive& ar, const T* object) {
    ar.WriteObject(object);
    return ar;
}

template <std::derived_from<CObject> T> CArchive& operator>>(CArchive& ar, T*& object) {
    object = ar.ReadObject<T>();
    return ar;
}

} // namespace tvane
