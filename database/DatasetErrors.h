#pragma once
#include <string>

#include "platform/storage/StorageError.h"

// How the dataset storage code reports failures: file not found and access
// denied become file exceptions of those causes (the messages users know), any
// other storage status stays a StorageException carrying the status.
namespace dataset_errors {

// The file exception cause that matches a storage status (its low word is the
// system error code).
int FileCause(tvane::StorageStatus status);

// File not found or access denied: a FileException of that cause naming name;
// anything else: a StorageException of the status.
[[noreturn]] void ThrowStorageFailure(tvane::StorageStatus status, const std::string& name);

// A stream that failed: always a FileException, cause from the status, no OS error.
[[noreturn]] void ThrowStreamFailure(tvane::StorageStatus status, const std::string& name);

} // namespace dataset_errors
