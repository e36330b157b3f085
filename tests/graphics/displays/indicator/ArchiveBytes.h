#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"

namespace displaytest {

// The archive bytes of an object written with its class tag.
inline std::vector<std::uint8_t> StoreObject(const tvane::CObject* object) {
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        ar.WriteObject(object);
    }
    return stream.TakeBytes();
}

// The object read back from such bytes; throws the archive's error.
template <class T> std::unique_ptr<T> LoadObject(const std::vector<std::uint8_t>& bytes) {
    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    return ar.ReadOwnedObject<T>();
}

} // namespace displaytest
