#pragma once
#include <filesystem>
#include <string>

namespace tvane {

// Where the program keeps its files: configuration (ini files, registry hives) and
// data (database, setup and dataset files, exports, logs). TVANE_HOME, when set,
// puts both under that one folder; otherwise the XDG folders are used. Both are
// created on first use.
std::filesystem::path ConfigDir();
std::filesystem::path DataDir();

// A bare file name ("Tvane.ini") resolves in the configuration folder; a name
// with a folder part is used as given.
std::filesystem::path ConfigFile(const std::string& name);

} // namespace tvane
