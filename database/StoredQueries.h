#pragma once
#include <string>
#include <string_view>

namespace tvane {

// The stored queries the program calls by name ("{CALL Get_Cards}"). The
// workspace keeps no query objects of its own, so each name maps to a select over
// one table: its filter (one "?" per parameter, in call order) and its row order.
// "{rowid}" in the order stands for the row identity (table order).
struct StoredQuery {
    const char* name;
    const char* table;
    const char* where;   // empty: every row
    const char* orderBy; // empty: unspecified
    int parameters;
};

// The query of that exact name, or nullptr.
const StoredQuery* FindStoredQuery(std::string_view name);

// Parses "{CALL name}" or "{CALL name (?,?)}" (blanks and case of CALL free).
// False when the text is not a call.
bool ParseCallText(const std::string& text, std::string& name, int& markers);

} // namespace tvane
