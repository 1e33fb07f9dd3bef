#pragma once

#include "base/Message.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

/// Base of every failure the program reports; what() is the text the user sees on the
/// command line. The cause, when known, says what was wrong and where (a file's path first):
/// it is shown beside the message, never instead of it. Both are kept as messages too, so
/// that the window can show them in the user's language.
class ELyravaneError : public std::runtime_error
{
public:
    explicit ELyravaneError(TMessage message, TMessage cause = {})
        : std::runtime_error(message.Str()), FMessage(std::move(message)), FCause(std::move(cause))
    {
    }
    /// Texts that are not ours to translate.
    explicit ELyravaneError(const std::string& message) : ELyravaneError(Verbatim(message)) {}
    /// A text of ours, marked with Core::Tr.
    explicit ELyravaneError(const char* message) : ELyravaneError(Msg(message)) {}

    const TMessage& Message() const { return FMessage; }
    /// The cause after its places: "where: cause", or the places alone when no cause is known.
    std::string Cause() const;
    const std::vector<std::string>& Places() const { return FPlaces; }
    /// The cause without its places.
    const TMessage& CauseMessage() const { return FCause; }
    /// Puts where before the cause (and before the places given earlier).
    void AddPlace(const std::string& where) { FPlaces.insert(FPlaces.begin(), where); }

private:
    TMessage FMessage;
    TMessage FCause;
    std::vector<std::string> FPlaces;
};

/// The message of an error followed by its cause, if any: "message (cause)".
std::string MessageWithCause(const std::exception& error);

/// A stream ended early or held data that breaks its format.
class EReadError : public ELyravaneError
{
public:
    EReadError() : ELyravaneError(Msg(Core::Tr("Stream read error"))) {}
    explicit EReadError(TMessage cause)
        : ELyravaneError(Msg(Core::Tr("Stream read error")), std::move(cause))
    {
    }
    explicit EReadError(const char* cause) : EReadError(Msg(cause)) {}
};

/// A stream could not take what was written to it.
class EWriteError : public ELyravaneError
{
public:
    EWriteError() : ELyravaneError(Msg(Core::Tr("Stream write error"))) {}
    explicit EWriteError(TMessage message) : ELyravaneError(std::move(message)) {}
    explicit EWriteError(const char* message) : EWriteError(Msg(message)) {}
};

/// A Standard MIDI File that breaks the format.
class EInvalidMidiFile : public ELyravaneError
{
public:
    EInvalidMidiFile() : ELyravaneError(Msg(Core::Tr("Invalid MIDI file"))) {}
    explicit EInvalidMidiFile(TMessage cause)
        : ELyravaneError(Msg(Core::Tr("Invalid MIDI file")), std::move(cause))
    {
    }
    explicit EInvalidMidiFile(const char* cause) : EInvalidMidiFile(Msg(cause)) {}
};

/// A file that cannot be opened for reading; reason is ours or the system's words.
class EFOpenError : public ELyravaneError
{
public:
    EFOpenError(const std::string& fileName, TMessage reason);
    EFOpenError(const std::string& fileName, const char* reason)
        : EFOpenError(fileName, Msg(reason))
    {
    }
    /// The system's words.
    EFOpenError(const std::string& fileName, const std::string& reason)
        : EFOpenError(fileName, Verbatim(reason))
    {
    }
};

/// A file that cannot be created or written.
class EFCreateError : public ELyravaneError
{
public:
    EFCreateError(const std::string& fileName, TMessage reason);
    EFCreateError(const std::string& fileName, const char* reason)
        : EFCreateError(fileName, Msg(reason))
    {
    }
    /// The system's words.
    EFCreateError(const std::string& fileName, const std::string& reason)
        : EFCreateError(fileName, Verbatim(reason))
    {
    }
};

/// An index outside 0..Count-1 of an owning list.
class EListError : public ELyravaneError
{
public:
    explicit EListError(long long index);
};
