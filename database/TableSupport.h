#pragma once
#include <cctype>
#include <string>

#include "database/CRSBase.h"

namespace tvane {

// Removes trailing white space in place, as the searches that trim do.
inline void TrimRight(std::string& text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
}

// The searches of the table classes: from the first row, stop on the first row
// that matches; an empty set answers false without moving. The set is left on
// the match or past the last row.
template <typename Match> bool FindRow(CRSBase& set, Match match) {
    if (set.IsBOF() && set.IsEOF())
        return false;
    set.MoveFirst();
    while (!set.IsBOF() && !set.IsEOF()) {
        if (match())
            return true;
        set.MoveNext();
    }
    return false;
}

} // namespace tvane
