#pragma once

#include <stdexcept>
#include <string>
#include <utility>

/// Base of every failure the program reports; what() is the text the user sees. The cause,
/// when known, says what was wrong and where (a file's path first): it is shown beside the
/// message, never instead of it.
class ELyravaneError : public std::runtime_error
{
public:
    explicit ELyravaneError(const std::string& message) : std::runtime_error(message) {}
    ELyravaneError(const std::string& message, std::string cause)
        : std::runtime_error(message), FCause(std::move(cause))
    {
    }

    const std::string& Cause() const { return FCause; }
    /// Puts where before the cause: "where: cause", or where alone when no cause is known.
    void AddPlace(const std::string& where)
    {
        FCause = FCause.empty() ? where : where + ": " + FCause;
    }

private:
    std::string FCause;
};

/// The message of an error followed by its cause, if any: "message (cause)".
std::string MessageWithCause(const std::exception& error);

/// A stream ended early or held data that breaks its format.
class EReadError : public ELyravaneError
{
public:
    EReadError() : ELyravaneError("Stream read error") {}
    explicit EReadError(std::string cause) : ELyravaneError("Stream read error", std::move(cause))
    {
    }
};

/// A stream could not take what was written to it.
class EWriteError : public ELyravaneError
{
public:
    EWriteError() : ELyravaneError("Stream write error") {}
    explicit EWriteError(const std::string& message) : ELyravaneError(message) {}
};

/// A Standard MIDI File that breaks the format.
class EInvalidMidiFile : public ELyravaneError
{
public:
    EInvalidMidiFile() : ELyravaneError("Invalid MIDI file") {}
    explicit EInvalidMidiFile(std::string cause)
        : ELyravaneError("Invalid MIDI file", std::move(cause))
    {
    }
};

/// A file that cannot be opened for reading.
class EFOpenError : public ELyravaneError
{
public:
    EFOpenError(const std::string& fileName, const std::string& reason);
};

/// A file that cannot be created or written.
class EFCreateError : public ELyravaneError
{
public:
    EFCreateError(const std::string& fileName, const std::string& reason);
};

/// An index outside 0..Count-1 of an owning list.
class EListError : public ELyravaneError
{
public:
    explicit EListError(long long index);
};
