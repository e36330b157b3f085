#pragma once
#include "platform/archive/CArchive.h"

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace tvane {

namespace archive_detail {

// Room reserved ahead of reading a counted collection: the count is only
// believed as far as elements actually arrive.
constexpr std::uint32_t kReserveLimit = 1024;

inline std::uint32_t CheckedCount(std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        throw CArchiveException(CArchiveException::generic, "collection too large for an archive");
    }
    return static_cast<std::uint32_t>(size);
}

} // namespace archive_detail

// The object-array (and object-list) form: the count, then every element as an
// object reference (null slots allowed). Items is a vector or list of
// unique_ptr<T>. Loading replaces the contents only once every element has been
// read; each element must be a T and appear once.
template <class Container>
requires std::derived_from<typename Container::value_type::element_type, CObject>
void SerializeObArray(CArchive& ar, Container& items) {
    using T = typename Container::value_type::element_type;
    if (ar.IsStoring()) {
        ar.WriteCount(archive_detail::CheckedCount(items.size()));
        for (const auto& item : items) {
            ar.WriteObject(item.get());
        }
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    Container loaded;
    if constexpr (requires { loaded.reserve(count); }) {
        loaded.reserve(std::min(count, archive_detail::kReserveLimit));
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        loaded.push_back(ar.ReadOwnedObject<T>());
    }
    items = std::move(loaded);
}

// The string-array and word/dword-array forms: the count, then every element in
// its own archive form.
template <class T>
requires std::same_as<T, std::string> || std::same_as<T, std::uint8_t> ||
    std::same_as<T, std::uint16_t> || std::same_as<T, std::int16_t> ||
    std::same_as<T, std::uint32_t> || std::same_as<T, std::int32_t> || std::same_as<T, float> ||
    std::same_as<T, double>
void SerializeArray(CArchive& ar, std::vector<T>& items) {
    if (ar.IsStoring()) {
        ar.WriteCount(archive_detail::CheckedCount(items.size()));
        for (const T& item : items) {
            ar << item;
        }
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    std::vector<T> loaded;
    loaded.reserve(std::min(count, archive_detail::kReserveLimit));
    for (std::uint32_t i = 0; i < count; ++i) {
        T item{};
        ar >> item;
        loaded.push_back(std::move(item));
    }
    items = std::move(loaded);
}

} // namespace tvane
