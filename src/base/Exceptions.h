#pragma once

#include <stdexcept>
#include <string>

/// Base of every failure the program reports; what() is the text the user sees.
class ELyravaneError : public std::runtime_error
{
public:
    explicit ELyravaneError(const std::string& message) : std::runtime_error(message) {}
};

/// A stream ended early or held data that breaks its format.
class EReadError : public ELyravaneError
{
public:
    EReadError() : ELyravaneError("Stream read error") {}
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
