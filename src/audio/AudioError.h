#pragma once

#include "base/Exceptions.h"

#include <string>

/// A failure of the sound layer: no SoundFont, no audio output, a file the synthesiser
/// refused. what() says what is missing and how to get it.
class EAudioError : public ELyravaneError
{
public:
    explicit EAudioError(const std::string& message) : ELyravaneError(message) {}
};

/// A rendering given up because its caller asked (the progress callback said no): it has
/// left no file behind.
class ERenderCancelled : public EAudioError
{
public:
    ERenderCancelled() : EAudioError("The rendering was cancelled") {}
};
