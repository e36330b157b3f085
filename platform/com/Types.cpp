#include "platform/com/Types.h"

#include "platform/core/Format.h"

namespace tvane {

std::string HResultText(HRESULT hr) {
    struct Entry {
        HRESULT hr;
        const char* text;
    };
    static const Entry table[] = {
        {S_OK, "The operation completed successfully."},
        {S_FALSE, "The operation completed with a false result."},
        {E_NOTIMPL, "Not implemented."},
        {E_NOINTERFACE, "No such interface supported."},
        {E_POINTER, "Invalid pointer."},
        {E_ABORT, "Operation aborted."},
        {E_FAIL, "Unspecified error."},
        {E_UNEXPECTED, "Catastrophic failure."},
        {E_ACCESSDENIED, "Access is denied."},
        {E_HANDLE, "The handle is invalid."},
        {E_OUTOFMEMORY, "Not enough memory."},
        {E_INVALIDARG, "The parameter is incorrect."},
        {CLASS_E_NOAGGREGATION, "Class does not support aggregation."},
        {CLASS_E_CLASSNOTAVAILABLE, "Class not available from the class factory."},
        {REGDB_E_READREGDB, "Could not read key from registry."},
        {REGDB_E_WRITEREGDB, "Could not write key to registry."},
        {REGDB_E_CLASSNOTREG, "Class not registered."},
        {SELFREG_E_TYPELIB, "The server does not register its type library."},
        {SELFREG_E_CLASS, "The server does not register its classes."},
        {CO_E_CLASSSTRING, "Invalid class string."},
        {CO_E_DLLNOTFOUND, "The server library could not be loaded."},
        {CO_E_ERRORINDLL, "The server library has an error."},
        {DISP_E_UNKNOWNINTERFACE, "Unknown interface."},
        {DISP_E_MEMBERNOTFOUND, "Member not found."},
        {DISP_E_PARAMNOTFOUND, "Parameter not found."},
        {DISP_E_TYPEMISMATCH, "Type mismatch."},
        {DISP_E_UNKNOWNNAME, "Unknown name."},
        {DISP_E_NONAMEDARGS, "No named arguments."},
        {DISP_E_BADVARTYPE, "Bad variable type."},
        {DISP_E_EXCEPTION, "Exception occurred."},
        {DISP_E_OVERFLOW, "Out of present range."},
        {DISP_E_BADINDEX, "Invalid index."},
        {DISP_E_ARRAYISLOCKED, "Memory is locked."},
        {DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
        {DISP_E_PARAMNOTOPTIONAL, "Parameter not optional."},
        {TYPE_E_REGISTRYACCESS, "Error accessing the registry."},
        {TYPE_E_LIBNOTREGISTERED, "Library not registered."},
        {TYPE_E_ELEMENTNOTFOUND, "Element not found."},
    };
    for (const Entry& e : table)
        if (e.hr == hr)
            return e.text;
    return Format("Unknown error 0x%08X.", static_cast<unsigned>(hr));
}

} // namespace tvane
