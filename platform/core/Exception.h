#pragma once
#include <stdexcept>
#include <string>

namespace tvane {

// Root of every exception the system throws. Exceptions are thrown by value and
// caught by reference.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& what) : std::runtime_error(what) {}
};

} // namespace tvane
