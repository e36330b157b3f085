#include "database/FieldExchange.h"

namespace tvane {

template <typename T>
void FieldExchange::Exchange(const char* column, FieldType type, std::size_t maxLength, T& value) {
    const std::size_t index = m_index++;
    switch (m_op) {
    case Operation::Describe:
        m_columns->push_back({column, type, maxLength});
        break;
    case Operation::Load:
        if (index < m_row->size()) {
            if (const T* cell = std::get_if<T>(&(*m_row)[index]))
                value = *cell;
            else
                value = T{}; // NULL reads as empty text or zero
        }
        break;
    case Operation::Store:
        if (m_row->size() <= index)
            m_row->resize(index + 1);
        (*m_row)[index] = value;
        break;
    case Operation::SetDefault:
        value = T{};
        break;
    }
}

void FieldExchange::Text(const char* column, std::string& value, std::size_t maxLength) {
    Exchange(column, FieldType::Text, maxLength, value);
}

void FieldExchange::Long(const char* column, std::int32_t& value) {
    Exchange(column, FieldType::Long, 0, value);
}

void FieldExchange::Bool(const char* column, bool& value) {
    Exchange(column, FieldType::Bool, 0, value);
}

void FieldExchange::Double(const char* column, double& value) {
    Exchange(column, FieldType::Double, 0, value);
}

void FieldExchange::Date(const char* column, std::int64_t& value) {
    if (m_op == Operation::Store && value < 0)
        value = 0;
    Exchange(column, FieldType::Date, 0, value);
}

std::size_t CountCharacters(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string CutToCharacters(const std::string& text, std::size_t max) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == max)
                return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

} // namespace tvane
