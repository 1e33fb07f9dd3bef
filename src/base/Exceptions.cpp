#include "base/Exceptions.h"

EFOpenError::EFOpenError(const std::string& fileName, TMessage reason)
    : ELyravaneError(Msg(Core::Tr("Cannot open file \"%1\". %2"), fileName, std::move(reason)))
{
}

EFCreateError::EFCreateError(const std::string& fileName, TMessage reason)
    : ELyravaneError(Msg(Core::Tr("Cannot create file \"%1\". %2"), fileName, std::move(reason)))
{
}

EListError::EListError(long long index)
    : ELyravaneError(Msg(Core::Tr("List index out of bounds (%1)"), index))
{
}

std::string ELyravaneError::Cause() const
{
    std::string text;
    for (const auto& place : FPlaces)
        text += (text.empty() ? "" : ": ") + place;
    const std::string cause = FCause.Str();
    if (!cause.empty())
        text += (text.empty() ? "" : ": ") + cause;
    return text;
}

std::string MessageWithCause(const std::exception& error)
{
    std::string text = error.what();
    const auto* own = dynamic_cast<const ELyravaneError*>(&error);
    if (own != nullptr)
    {
        const std::string cause = own->Cause();
        if (!cause.empty())
            text += " (" + cause + ")";
    }
    return text;
}
