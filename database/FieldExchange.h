#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tvane {

enum class FieldType { Text, Long, Bool, Double, Date };

// One cell of a cached row; monostate stands for SQL NULL.
using FieldValue =
    std::variant<std::monostate, std::string, std::int32_t, bool, double, std::int64_t>;

struct FieldColumn {
    std::string name;
    FieldType type;
    std::size_t maxLength; // characters, texts only
};

// Moves values between a recordset's members and its cached rows. A table class
// lists its columns (or its parameters) in exchange order by calling one function
// per member; the same list describes the select, loads a row and stores one.
// Dates are seconds since 1970, exchanged as local date and time.
class FieldExchange {
public:
    enum class Operation { Describe, Load, Store, SetDefault };

    FieldExchange(Operation op, std::vector<FieldColumn>* columns, std::vector<FieldValue>* row)
        : m_op(op), m_columns(columns), m_row(row) {}

    void Text(const char* column, std::string& value, std::size_t maxLength = 255);
    void Long(const char* column, std::int32_t& value);
    void Bool(const char* column, bool& value);
    void Double(const char* column, double& value);
    // A time before 1970 is set to 0 before it is stored.
    void Date(const char* column, std::int64_t& value);

    Operation GetOperation() const { return m_op; }

private:
    template <typename T>
    void Exchange(const char* column, FieldType type, std::size_t maxLength, T& value);

    Operation m_op;
    std::vector<FieldColumn>* m_columns;
    std::vector<FieldValue>* m_row;
    std::size_t m_index = 0;
};

// Cuts a UTF-8 text to at most `max` characters, never inside a character.
std::string CutToCharacters(const std::string& text, std::size_t max);
std::size_t CountCharacters(const std::string& text);

} // namespace tvane
