#pragma once
#include <fstream>
#include <string>

namespace tvane::test {

// The [SQLite3] section of the system's ODBC driver registration, or "": what a
// private home's odbcinst.ini needs for the workspace database.
inline std::string SystemDriverSection() {
    std::ifstream in("/etc/odbcinst.ini");
    std::string line, section;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[')
            inside = line.rfind("[SQLite3]", 0) == 0;
        if (inside)
            section += line + "\n";
    }
    return section;
}

} // namespace tvane::test
