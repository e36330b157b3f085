#pragma once
#include <string>

#include "platform/core/Exception.h"

namespace tvane {

// A failure reported by the ODBC driver manager or driver: the SQLSTATE, the
// driver's native error and its message. The recordset layer lets it pass to the
// caller unchanged.
class DBException : public Exception {
public:
    DBException(std::string sqlState, int nativeError, std::string message)
        : Exception(message.empty() ? sqlState : sqlState + " " + message),
          m_sqlState(std::move(sqlState)), m_nativeError(nativeError),
          m_message(std::move(message)) {}

    const std::string& SqlState() const { return m_sqlState; }
    int NativeError() const { return m_nativeError; }
    const std::string& Message() const { return m_message; }

private:
    std::string m_sqlState;
    int m_nativeError;
    std::string m_message;
};

} // namespace tvane
