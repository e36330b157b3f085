#pragma once
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"

#include <cstdint>
#include <vector>

namespace scantest {

using Bytes = std::vector<std::uint8_t>;

template <class Fn> Bytes Store(Fn&& fn) {
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        fn(ar);
    }
    return stream.TakeBytes();
}

template <class Fn> void Load(const Bytes& bytes, Fn&& fn) {
    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    fn(ar);
}

} // namespace scantest
