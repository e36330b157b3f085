#pragma once
#include <cstddef>
#include <cstdint>

namespace tvane::test {

// Opens the bytes as a compound file, enumerates every storage and reads every
// stream, then changes the file where it can. Errors are expected; a crash, a hang
// or a leak is the fault.
void ExerciseStorageFile(const std::uint8_t* data, std::size_t size);

} // namespace tvane::test
