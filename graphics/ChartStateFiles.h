#pragma once
#include <filesystem>

class IDiskSpaceCheck;

namespace tvane {
class CArchive;
}

// Where parked chart states wait between loading a document and creating the
// chart windows: a folder of this process's own under the system's temporary
// folder, made on first use and removed, with whatever it still holds, when
// the process ends.
std::filesystem::path ChartStateFolder();

// The name of the next chart state file: "%ld.xrt" in the state folder, with
// a number that every store and load of a chart in this process counts up
// (the first file of a run is 1.xrt).
std::filesystem::path NextChartStateFile();
long ChartStateCounter();

// The free-space check before a chart state is written; the default asks the
// file system and tells the user when it is short. Tests install their own
// (null restores the default).
IDiskSpaceCheck& ChartDiskSpaceCheck();
void SetChartDiskSpaceCheck(IDiskSpaceCheck* check);

// Copies a whole file into the archive as a 32-bit length and the bytes, in
// blocks of 50000 bytes (25000 when that much memory cannot be had). Without
// memory for either it stores length 0 and tells the user.
void StoreFileInArchive(tvane::CArchive& ar, const std::filesystem::path& file);
// Reads such a length and bytes back into a new file; false, and no file made,
// for length 0. A negative length or data that ends early throws.
bool LoadFileFromArchive(tvane::CArchive& ar, const std::filesystem::path& file);
