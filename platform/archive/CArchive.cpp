#include "platform/archive/CArchive.h"

#include "platform/core/Format.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

namespace tvane {

namespace {

constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;
// The highest index the format allows.
constexpr std::uint32_t kMaxMapCount = 0x3FFFFFFE;
// Class names the format accepts are shorter than this.
constexpr std::uint16_t kMaxClassNameLength = 64;

constexpr std::uint8_t kStringLength16 = 0xFF;
constexpr std::uint16_t kStringLength32 = 0xFFFF;
constexpr std::uint16_t kStringUnicode = 0xFFFE;

constexpr std::uint16_t kCount32 = 0xFFFF;

// Bytes read into a string per step, so a length prefix is never trusted for
// more memory than the data behind it delivers.
constexpr std::size_t kReadChunk = 64 * 1024;

} // namespace

CArchive::CArchive(IArchiveStream& stream, Mode mode) : m_stream(stream), m_mode(mode) {
    if (IsLoading()) {
        m_loadMap.push_back({LoadEntry::kNull, 0, nullptr, nullptr});
    }
}

CArchive::~CArchive() {
    // The objects this archive made outlive it: they no longer report to it.
    for (const LoadEntry& entry : m_loadMap) {
        if (entry.kind == LoadEntry::kObject) {
            entry.object->m_loadedBy = nullptr;
        }
    }
}

void CArchive::ForgetLoaded(std::uint32_t index) {
    LoadEntry& entry = m_loadMap[index];
    entry.kind = LoadEntry::kReleased;
    entry.object = nullptr;
}

void CArchive::CheckStoring() const {
    if (!IsStoring()) {
        throw CArchiveException(CArchiveException::readOnly, {});
    }
}

void CArchive::CheckLoading() const {
    if (!IsLoading()) {
        throw CArchiveException(CArchiveException::writeOnly, {});
    }
}

void CArchive::Write(const void* data, std::size_t size) {
    CheckStoring();
    if (size > 0) {
        m_stream.Write(data, size);
    }
}

std::size_t CArchive::Read(void* buffer, std::size_t size) {
    CheckLoading();
    std::size_t done = 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    // A stream may deliver less than asked before its end; only 0 means the end.
    while (done < size) {
        const std::size_t n = m_stream.Read(bytes + done, size - done);
        if (n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

void CArchive::ReadExact(void* buffer, std::size_t size) {
    const std::size_t n = Read(buffer, size);
    if (n != size) {
        throw CArchiveException(CArchiveException::endOfFile,
                                Format("%zu bytes wanted, %zu left", size, n));
    }
}

template <class T> void CArchive::WriteLE(T value) {
    static_assert(std::is_integral_v<T> && std::is_unsigned_v<T>);
    std::uint8_t bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    Write(bytes, sizeof(T));
}

template <class T> T CArchive::ReadLE() {
    static_assert(std::is_integral_v<T> && std::is_unsigned_v<T>);
    std::uint8_t bytes[sizeof(T)];
    ReadExact(bytes, sizeof(T));
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        value |= static_cast<T>(static_cast<T>(bytes[i]) << (8 * i));
    }
    return value;
}

CArchive& CArchive::operator<<(std::uint8_t value) {
    WriteLE(value);
    return *this;
}
CArchive& CArchive::operator<<(std::int8_t value) {
    return *this << static_cast<std::uint8_t>(value);
}
CArchive& CArchive::operator<<(char value) {
    return *this << static_cast<std::uint8_t>(value);
}
CArchive& CArchive::operator<<(std::uint16_t value) {
    WriteLE(value);
    return *this;
}
CArchive& CArchive::operator<<(std::int16_t value) {
    return *this << static_cast<std::uint16_t>(value);
}
CArchive& CArchive::operator<<(std::uint32_t value) {
    WriteLE(value);
    return *this;
}
CArchive& CArchive::operator<<(std::int32_t value) {
    return *this << static_cast<std::uint32_t>(value);
}
CArchive& CArchive::operator<<(float value) {
    return *this << std::bit_cast<std::uint32_t>(value);
}
CArchive& CArchive::operator<<(double value) {
    WriteLE(std::bit_cast<std::uint64_t>(value));
    return *this;
}

CArchive& CArchive::operator>>(std::uint8_t& value) {
    value = ReadLE<std::uint8_t>();
    return *this;
}
CArchive& CArchive::operator>>(std::int8_t& value) {
    value = static_cast<std::int8_t>(ReadLE<std::uint8_t>());
    return *this;
}
CArchive& CArchive::operator>>(char& value) {
    value = static_cast<char>(ReadLE<std::uint8_t>());
    return *this;
}
CArchive& CArchive::operator>>(std::uint16_t& value) {
    value = ReadLE<std::uint16_t>();
    return *this;
}
CArchive& CArchive::operator>>(std::int16_t& value) {
    value = static_cast<std::int16_t>(ReadLE<std::uint16_t>());
    return *this;
}
CArchive& CArchive::operator>>(std::uint32_t& value) {
    value = ReadLE<std::uint32_t>();
    return *this;
}
CArchive& CArchive::operator>>(std::int32_t& value) {
    value = static_cast<std::int32_t>(ReadLE<std::uint32_t>());
    return *this;
}
CArchive& CArchive::operator>>(float& value) {
    value = std::bit_cast<float>(ReadLE<std::uint32_t>());
    return *this;
}
CArchive& CArchive::operator>>(double& value) {
    value = std::bit_cast<double>(ReadLE<std::uint64_t>());
    return *this;
}

CArchive& CArchive::operator<<(std::string_view text) {
    CheckStoring();
    const std::size_t length = text.size();
    if (length < kStringLength16) {
        *this << static_cast<std::uint8_t>(length);
    } else if (length < kStringUnicode) {
        *this << kStringLength16 << static_cast<std::uint16_t>(length);
    } else if (length <= std::numeric_limits<std::uint32_t>::max()) {
        *this << kStringLength16 << kStringLength32 << static_cast<std::uint32_t>(length);
    } else {
        throw CArchiveException(CArchiveException::generic,
                                Format("string of %zu bytes is too long", length));
    }
    Write(text.data(), length);
    return *this;
}

CArchive& CArchive::operator>>(std::string& text) {
    CheckLoading();
    std::uint32_t length = ReadLE<std::uint8_t>();
    if (length == kStringLength16) {
        length = ReadLE<std::uint16_t>();
        if (length == kStringUnicode) {
            // Written by a wide-character build; this system's files never hold it.
            throw CArchiveException(CArchiveException::generic,
                                    "wide-character strings are not supported");
        }
        if (length == kStringLength32) {
            length = ReadLE<std::uint32_t>();
        }
    }
    std::string result;
    std::size_t done = 0;
    while (done < length) {
        const std::size_t step = std::min<std::size_t>(length - done, kReadChunk);
        result.resize(done + step);
        const std::size_t n = Read(result.data() + done, step);
        if (n != step) {
            throw CArchiveException(CArchiveException::endOfFile,
                                    Format("string of %lu bytes ends after %zu",
                                           static_cast<unsigned long>(length), done + n));
        }
        done += step;
    }
    text = std::move(result);
    return *this;
}

CArchive& CArchive::operator<<(const CTime& time) {
    const std::int64_t seconds = time.GetTime();
    if (seconds < 0 || seconds > std::numeric_limits<std::uint32_t>::max()) {
        throw CArchiveException(
            CArchiveException::generic,
            Format("time %lld does not fit in 32 bits", static_cast<long long>(seconds)));
    }
    return *this << static_cast<std::uint32_t>(seconds);
}

CArchive& CArchive::operator>>(CTime& time) {
    time = CTime(ReadLE<std::uint32_t>());
    return *this;
}

void CArchive::WriteCount(std::uint32_t count) {
    if (count < kCount32) {
        *this << static_cast<std::uint16_t>(count);
    } else {
        *this << kCount32 << count;
    }
}

std::uint32_t CArchive::ReadCount() {
    const std::uint16_t count = ReadLE<std::uint16_t>();
    return count == kCount32 ? ReadLE<std::uint32_t>() : count;
}

std::uint32_t CArchive::NextIndex() {
    if (m_storeCount >= kMaxMapCount) {
        throw CArchiveException(CArchiveException::badIndex, "too many objects in one archive");
    }
    return m_storeCount++;
}

void CArchive::WriteReference(std::uint32_t index, bool isClass) {
    if (index < kBigObjectTag) {
        *this << static_cast<std::uint16_t>(isClass ? (kClassTag | index) : index);
    } else {
        *this << kBigObjectTag << (isClass ? (kBigClassTag | index) : index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* runtimeClass) {
    CheckStoring();
    if (!runtimeClass->IsSerializable()) {
        throw CArchiveException(
            CArchiveException::badClass,
            Format("class %s cannot be written to an archive", runtimeClass->m_lpszClassName));
    }
    if (const auto it = m_storeClasses.find(runtimeClass); it != m_storeClasses.end()) {
        WriteReference(it->second, true);
        return;
    }
    const std::string_view name = runtimeClass->m_lpszClassName;
    if (name.empty() || name.size() >= kMaxClassNameLength) {
        throw CArchiveException(CArchiveException::badClass,
                                Format("class name '%s' has no archive form", name.data()));
    }
    *this << kNewClassTag << runtimeClass->m_wSchema << static_cast<std::uint16_t>(name.size());
    Write(name.data(), name.size());
    m_storeClasses.emplace(runtimeClass, NextIndex());
}

void CArchive::WriteObject(const CObject* object) {
    CheckStoring();
    if (object == nullptr) {
        *this << kNullTag;
        return;
    }
    const StoreKey key{object, object->m_serial};
    if (const auto it = m_storeObjects.find(key); it != m_storeObjects.end()) {
        WriteReference(it->second, false);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    m_storeObjects.emplace(key, NextIndex());
    // Serialize serves both directions, so it is not const; storing leaves the
    // object as it is.
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadTag(const CRuntimeClass* requested, std::uint16_t& schema,
                                       std::uint32_t& objectIndex) {
    CheckLoading();
    const std::uint16_t tag = ReadLE<std::uint16_t>();
    std::uint32_t fullTag;
    if (tag == kBigObjectTag) {
        fullTag = ReadLE<std::uint32_t>();
    } else {
        fullTag = (static_cast<std::uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }
    if ((fullTag & kBigClassTag) == 0) {
        objectIndex = fullTag;
        return nullptr;
    }

    const CRuntimeClass* runtimeClass;
    if (tag == kNewClassTag) {
        schema = ReadLE<std::uint16_t>();
        const std::uint16_t length = ReadLE<std::uint16_t>();
        if (length == 0 || length >= kMaxClassNameLength) {
            throw CArchiveException(CArchiveException::badClass,
                                    Format("class name of %u bytes", length));
        }
        char name[kMaxClassNameLength];
        ReadExact(name, length);
        runtimeClass = CRuntimeClass::FromName(std::string_view(name, length));
        if (runtimeClass == nullptr) {
            throw CArchiveException(CArchiveException::badClass,
                                    Format("unknown class '%.*s'", static_cast<int>(length), name));
        }
        if (runtimeClass->m_wSchema != schema) {
            throw CArchiveException(CArchiveException::badSchema,
                                    Format("class %s has schema %u, the archive %u",
                                           runtimeClass->m_lpszClassName, runtimeClass->m_wSchema,
                                           schema));
        }
        if (m_loadMap.size() > kMaxMapCount) {
            throw CArchiveException(CArchiveException::badIndex, "too many objects in archive");
        }
        m_loadMap.push_back({LoadEntry::kClass, schema, runtimeClass, nullptr});
    } else {
        const std::uint32_t index = fullTag & ~kBigClassTag;
        if (index >= m_loadMap.size() || m_loadMap[index].kind != LoadEntry::kClass) {
            throw CArchiveException(
                CArchiveException::badIndex,
                Format("class reference %lu", static_cast<unsigned long>(index)));
        }
        runtimeClass = m_loadMap[index].runtimeClass;
        schema = m_loadMap[index].schema;
    }
    if (requested != nullptr && !runtimeClass->IsDerivedFrom(requested)) {
        throw CArchiveException(CArchiveException::badClass,
                                Format("%s where %s was expected", runtimeClass->m_lpszClassName,
                                       requested->m_lpszClassName));
    }
    return runtimeClass;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, std::uint32_t* schema) {
    std::uint16_t classSchema = 0;
    std::uint32_t objectIndex = 0;
    const CRuntimeClass* runtimeClass = ReadTag(requested, classSchema, objectIndex);
    if (runtimeClass == nullptr) {
        throw CArchiveException(CArchiveException::badIndex,
                                Format("object reference %lu where a class was expected",
                                       static_cast<unsigned long>(objectIndex)));
    }
    if (schema != nullptr) {
        *schema = classSchema;
    }
    return runtimeClass;
}

CArchive::Loaded CArchive::ReadObjectReference(const CRuntimeClass* requested, bool owned) {
    std::uint16_t schema = 0;
    std::uint32_t objectIndex = 0;
    const CRuntimeClass* runtimeClass = ReadTag(requested, schema, objectIndex);
    if (runtimeClass == nullptr) {
        // Only the entry is consulted: the object itself may be gone.
        if (objectIndex >= m_loadMap.size() || m_loadMap[objectIndex].kind == LoadEntry::kClass) {
            throw CArchiveException(
                CArchiveException::badIndex,
                Format("object reference %lu", static_cast<unsigned long>(objectIndex)));
        }
        const LoadEntry& entry = m_loadMap[objectIndex];
        if (entry.kind == LoadEntry::kNull) {
            return {nullptr, false, objectIndex};
        }
        if (entry.kind == LoadEntry::kReleased) {
            throw CArchiveException(CArchiveException::badIndex,
                                    Format("object reference %lu to an object that is gone",
                                           static_cast<unsigned long>(objectIndex)));
        }
        if (requested != nullptr && !entry.runtimeClass->IsDerivedFrom(requested)) {
            throw CArchiveException(CArchiveException::badClass,
                                    Format("%s where %s was expected",
                                           entry.runtimeClass->m_lpszClassName,
                                           requested->m_lpszClassName));
        }
        if (owned) {
            throw CArchiveException(CArchiveException::badIndex,
                                    "an object that is owned once is referred to twice");
        }
        return {entry.object, false, objectIndex};
    }

    std::unique_ptr<CObject> object(runtimeClass->CreateObject());
    if (object == nullptr) {
        throw CArchiveException(CArchiveException::badClass, Format("class %s cannot be created",
                                                                    runtimeClass->m_lpszClassName));
    }
    if (m_loadMap.size() > kMaxMapCount) {
        throw CArchiveException(CArchiveException::badIndex, "too many objects in archive");
    }
    const auto index = static_cast<std::uint32_t>(m_loadMap.size());
    // Entered before loading, so the object's own fields may refer back to it.
    // The object reports its end, so the entry never outlives it.
    m_loadMap.push_back({LoadEntry::kObject, schema, runtimeClass, object.get()});
    object->m_loadedBy = this;
    object->m_loadIndex = index;
    const std::uint32_t outerSchema = m_objectSchema;
    m_objectSchema = schema;
    try {
        object->Serialize(*this);
    } catch (...) {
        // The object dies with the failed load, and its entry with it.
        m_objectSchema = outerSchema;
        throw;
    }
    m_objectSchema = outerSchema;
    return {object.release(), true, index};
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    return ReadObjectReference(requested, false).object;
}

std::unique_ptr<CObject> CArchive::ReadOwnedObject(const CRuntimeClass* requested) {
    return std::unique_ptr<CObject>(ReadObjectReference(requested, true).object);
}

std::uint32_t CArchive::GetObjectSchema() {
    return std::exchange(m_objectSchema, kNoSchema);
}

void CArchive::DiscardWrongType(const Loaded& loaded) {
    const std::string name = m_loadMap[loaded.index].runtimeClass->m_lpszClassName;
    if (loaded.created) {
        delete loaded.object;
    }
    throw CArchiveException(
        CArchiveException::badClass,
        Format("object of class %s is not of the type asked for", name.c_str()));
}

} // namespace tvane
