#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class CLoggerDoc;

namespace tvane::test {

// Takes the bytes as a setup file's "Contents" archive and loads it into a
// document. What loads is saved, loaded into a second document and saved again:
// the two saves must be equal. Refusals are expected; a crash, a hang, a leak or
// a save that does not survive its own load is the fault.
void ExerciseDocumentLoad(const std::uint8_t* data, std::size_t size);

// A setup file's archive with graphics pages as the harness's main frame keeps
// them: fill sets up the document, and each page gets the displays that its
// Graphics commands make.
std::vector<std::uint8_t> DocumentWithPages(const std::function<void(CLoggerDoc&)>& fill,
                                            const std::vector<std::vector<unsigned>>& pages);

} // namespace tvane::test
