#include "base/Exceptions.h"

EFOpenError::EFOpenError(const std::string& fileName, const std::string& reason)
    : ELyravaneError("Cannot open file \"" + fileName + "\". " + reason)
{
}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& reason)
    : ELyravaneError("Cannot create file \"" + fileName + "\". " + reason)
{
}

EListError::EListError(long long index)
    : ELyravaneError("List index out of bounds (" + std::to_string(index) + ")")
{
}

std::string MessageWithCause(const std::exception& error)
{
    std::string text = error.what();
    const auto* own = dynamic_cast<const ELyravaneError*>(&error);
    if (own != nullptr && !own->Cause().empty())
        text += " (" + own->Cause() + ")";
    return text;
}
