#pragma once
#include <cstddef>
#include <cstdint>

namespace tvane::test {

// Takes the bytes as a setup file's "Contents" archive and loads it into a
// document. What loads is saved, loaded into a second document and saved again:
// the two saves must be equal. Refusals are expected; a crash, a hang, a leak or
// a save that does not survive its own load is the fault.
void ExerciseDocumentLoad(const std::uint8_t* data, std::size_t size);

} // namespace tvane::test
