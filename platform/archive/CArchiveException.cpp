#include "platform/archive/CArchiveException.h"

namespace tvane {

namespace {

const char* CauseText(CArchiveException::Cause cause) {
    switch (cause) {
    case CArchiveException::none:
        return "no error";
    case CArchiveException::generic:
        return "archive error";
    case CArchiveException::readOnly:
        return "the archive is loading and cannot be written";
    case CArchiveException::endOfFile:
        return "unexpected end of archive data";
    case CArchiveException::writeOnly:
        return "the archive is storing and cannot be read";
    case CArchiveException::badIndex:
        return "invalid object or class reference in archive";
    case CArchiveException::badClass:
        return "unexpected class in archive";
    case CArchiveException::badSchema:
        return "unsupported class schema in archive";
    }
    return "archive error";
}

std::string Message(CArchiveException::Cause cause, const std::string& detail) {
    std::string text = CauseText(cause);
    if (!detail.empty()) {
        text += ": ";
        text += detail;
    }
    return text;
}

} // namespace

CArchiveException::CArchiveException(Cause cause, const std::string& detail)
    : Exception(Message(cause, detail)), m_cause(cause) {}

} // namespace tvane
