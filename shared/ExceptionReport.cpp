#include "shared/ExceptionReport.h"

#include <new>

#include "database/CMfxFileException.h"

#include "database/DBException.h"
#include "platform/archive/CArchiveException.h"
#include "platform/com/ComException.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/storage/StorageError.h"
#include "shared/CMfxException.h"

namespace {

constexpr unsigned kFileOccurredIn = 254;
constexpr unsigned kLineOccurredIn = 255;

} // namespace

const tvane::StringTable& ExceptionTexts() {
    static const tvane::StringTable table{
        {kFileOccurredIn, " File name: %s"},
        {kLineOccurredIn, " Line# %d"},
        {13000, "Error caused by memory problem.  Your PC could be out of memory."},
        {13001, "Error caused by serialization reading or writing."},
        {13002, "Tried to write into an archive opened for loading only."},
        {13003, "Tried to read from an archive opened for storing only."},
        {13004, "Reached end of file while reading an object."},
        {13005, "Unspecified serialization error."},
        {13006, "Invalid file format."},
        {13007, "Tried to read an object into an object of the wrong type."},
        {13008, "Tried to read an object with a different version of the class."},
        {13020, "Error caused by an unsupported operation."},
        {13040, "Error caused due to lack of system resources."},
        {13060, "Error caused by Database problem."},
        {13080, "Error caused by OLE interface problem.  Check versions of DLLs and OLE "
                "controls in use."},
        {13120, "Error caused by application defined exception."},
        {13140, "Error caused by OLE Dispatch problem.  Check versions of DLLs and OLE "
                "controls in use."},
        {13160, "File error."},
        {13161, "Generic file error."},
        {13162, "File not found."},
        {13163, "Bad path to file."},
        {13164, "Too many open files."},
        {13165, "File access denied.  "},
        {13166, "Use of invalid file handle."},
        {13167, "Attempted to remove the current working directory."},
        {13168, "No more directory entries available."},
        {13169, "Error setting the file pointer."},
        {13170, "Hardware error occurred."},
        {13171, "SHARE.EXE was not loaded, or a shared region was locked."},
        {13172, "Attempted to lock a region already locked."},
        {13173, "No room on the disk."},
        {13174, "End of file was reached before operation could complete."},
    };
    return table;
}

namespace {

unsigned ArchiveHelpId(tvane::CArchiveException::Cause cause) {
    switch (cause) {
    case tvane::CArchiveException::generic:
        return 13005;
    case tvane::CArchiveException::readOnly:
        return 13002;
    case tvane::CArchiveException::endOfFile:
        return 13004;
    case tvane::CArchiveException::writeOnly:
        return 13003;
    case tvane::CArchiveException::badIndex:
        return 13006;
    case tvane::CArchiveException::badClass:
        return 13007;
    case tvane::CArchiveException::badSchema:
        return 13008;
    default:
        return 13001;
    }
}

unsigned FileHelpId(int cause) {
    return cause >= 1 && cause <= 14 ? 13160u + static_cast<unsigned>(cause) : 13160u;
}

} // namespace

unsigned GetExceptionHelpId(const std::exception& e) {
    // Tested in this order; the first match wins.
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return 13000;
    if (dynamic_cast<const tvane::NotSupportedException*>(&e))
        return 13020;
    if (auto* archive = dynamic_cast<const tvane::CArchiveException*>(&e))
        return ArchiveHelpId(archive->GetCause());
    if (auto* file = dynamic_cast<const tvane::FileException*>(&e))
        return FileHelpId(file->Cause());
    // A compound-file failure counts as the file or OLE exception it stands for.
    if (auto* storage = dynamic_cast<const tvane::StorageException*>(&e)) {
        if (storage->Status() == tvane::STG_E_FILENOTFOUND)
            return FileHelpId(tvane::FileException::fileNotFound);
        if (storage->Status() == tvane::STG_E_ACCESSDENIED)
            return FileHelpId(tvane::FileException::accessDenied);
        return 13080;
    }
    if (dynamic_cast<const tvane::ResourceException*>(&e))
        return 13040;
    if (dynamic_cast<const tvane::DBException*>(&e))
        return 13060;
    // Automation failures are a kind of component failure here; they keep
    // their own context.
    if (dynamic_cast<const tvane::DispatchException*>(&e))
        return 13140;
    if (dynamic_cast<const tvane::ComException*>(&e))
        return 13080;
    if (dynamic_cast<const tvane::UserException*>(&e))
        return 13120;
    return 102;
}

std::string GetExceptionMessage(const std::exception& e) {
    if (auto* file = dynamic_cast<const tvane::FileException*>(&e))
        return file->GetErrorMessage();
    return e.what();
}

tvane::MsgAnswer ShowMfxErrorMessage(const std::exception& e, const std::string& fileName,
                                     int line) {
    std::string text = GetExceptionMessage(e);
    if (text.size() > 255)
        text.resize(255);
    if (!fileName.empty() || line != -1) {
        text += "\nOccurred in";
        if (!fileName.empty())
            text += tvane::Format(ExceptionTexts().Load(kFileOccurredIn).c_str(), fileName.c_str());
        if (line != -1)
            text += tvane::Format(ExceptionTexts().Load(kLineOccurredIn).c_str(), line);
    }
    tvane::MessageRequest box;
    box.text = text;
    box.buttons = tvane::MsgButtons::Ok;
    box.helpId = GetExceptionHelpId(e);
    return tvane::Prompter().Ask(box);
}
