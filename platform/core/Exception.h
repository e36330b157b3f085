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

// Thrown after the user has already been told what went wrong: catchers stop the
// operation and report nothing more.
class UserException : public Exception {
public:
    UserException() : Exception("operation stopped; the user has been told") {}
};

}  // namespace tvane
