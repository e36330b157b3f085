#pragma once
#include <string>

// The text the About window's viewer shows: the file's first 32000 bytes, read
// in blocks of 1000, or "File not found" when there is no such file.
std::string ReadViewerText(const std::string& path);
