#include "shared/CGraphException.h"

CGraphException::CGraphException(int errorCode, int severity, std::shared_ptr<void> objectToDelete,
                                 std::string sourceFile, int line, std::string lastModified)
    : CMfxException(errorCode, severity, std::move(objectToDelete), std::move(sourceFile), line,
                    std::move(lastModified)) {
    switch (errorCode) {
    case CreateFailed:
        SetCause("Create Failed");
        SetAction("Save Your Work");
        break;
    case SerializationFailed:
        SetCause("Serialization Failed");
        SetAction("Save Your Work");
        break;
    default:
        break;
    }
}
