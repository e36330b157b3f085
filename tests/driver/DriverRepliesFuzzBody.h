#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tvane::driver::test {

// Takes the bytes as everything the instrument answers, one answer per line (a
// line holding only byte 1 is a receive that fails), and drives the driver
// through a run's calls on them: reading blocks, the stored readings, a channel
// upload, the alarm queue, the clock, the status and error queries. Refusals are
// expected; a crash, a hang, a leak or a count beyond the caller's buffer is the
// fault.
void ExerciseDriverReplies(const std::uint8_t* data, std::size_t size);

// Runs the same calls against an instrument that answers each receive from the
// last command sent (no answer: a failed receive) and returns the input that
// replays those answers: how seeds are made.
std::string RecordDriverReplies(
    std::uint8_t format,
    const std::function<std::optional<std::string>(const std::string& command)>& answer);

} // namespace tvane::driver::test
