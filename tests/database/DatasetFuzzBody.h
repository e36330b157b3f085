#pragma once
#include <cstddef>
#include <cstdint>

namespace tvane::test {

// Takes the bytes as a dataset storage file: opens it as the document does,
// opens every dataset its directory lists, reads its header, readings and events
// and runs every search over them, then appends a reading batch and an event and
// closes. Refusals are expected; a crash, a hang or a leak is the fault.
void ExerciseDatasetFile(const std::uint8_t* data, std::size_t size);

} // namespace tvane::test
