#pragma once
#include <cstddef>
#include <cstdint>

namespace tvane::test {

// Takes the bytes as a setup export file and imports it, with all its datasets
// and then with its first one, into a fresh seeded workspace in the data
// folder; the data folder is emptied afterwards. Bytes that begin with "M" are
// the archive's members instead, so the fuzzer reaches into the index and the
// files without the zip's checksums in its way: parts separated by kMemberMark,
// each a member name on its first line and the member's bytes after it. Needs the workspace's ODBC
// driver registered. Refusals are expected; a crash, a hang, a leak, runaway
// memory or a file written outside the data folder is the fault.
void ExerciseZipImport(const std::uint8_t* data, std::size_t size);

inline constexpr const char* kMemberMark = "\n--member--\n";

} // namespace tvane::test
