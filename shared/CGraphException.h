#pragma once
#include "shared/CMfxException.h"

// Thrown by a graphics display that cannot be created or serialised.
class CGraphException : public CMfxException {
public:
    enum Code { CreateFailed = 0, SerializationFailed = 1 };

    CGraphException() = default;
    CGraphException(int errorCode, int severity, std::shared_ptr<void> objectToDelete,
                    std::string sourceFile, int line, std::string lastModified);
};
