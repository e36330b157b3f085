#pragma once
#include <exception>
#include <string>

#include "platform/core/StringTable.h"
#include "platform/ui/Prompter.h"

// The help context of an exception, which is also the id of the text that
// describes it (ExceptionTexts()); 102 for exceptions the table does not know.
unsigned GetExceptionHelpId(const std::exception& e);

// The exception's own message: a file exception's GetErrorMessage, the report of
// a CMfxException, else what().
std::string GetExceptionMessage(const std::exception& e);

// Shows the exception's message (at most 255 characters) with OK and Help, the
// help context from GetExceptionHelpId, and where it occurred when a file name or
// a line (not -1) is given.
tvane::MsgAnswer ShowMfxErrorMessage(const std::exception& e, const std::string& fileName,
                                     int line);

// The texts of the help contexts and the "Occurred in" parts.
const tvane::StringTable& ExceptionTexts();
