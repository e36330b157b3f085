#pragma once
#include <cstddef>
#include <cstdint>

namespace tvane::test {

// Takes the bytes as an ini file of the configuration folder: reads every
// section, key and value, then writes one key and checks that it reads back and
// that every other value stayed as it was. A mismatch aborts.
void ExerciseIniFile(const std::uint8_t* data, std::size_t size);

} // namespace tvane::test
