#pragma once

#include "base/Exceptions.h"

#include <string>
#include <utility>

/// A failure of the sound layer: no SoundFont, no audio output, a file the synthesiser
/// refused. what() says what is missing and how to get it.
class EAudioError : public ELyravaneError
{
public:
    explicit EAudioError(TMessage message) : ELyravaneError(std::move(message)) {}
    explicit EAudioError(const char* message) : EAudioError(Msg(message)) {}
    /// Texts that are not ours to translate.
    explicit EAudioError(const std::string& message) : ELyravaneError(message) {}
};

/// A SoundFont that cannot be used; what() says why in English (the command line's words),
/// and the reason and path let the window say it in its own.
class ESoundFontError : public EAudioError
{
public:
    enum class TReason
    {
        Missing,
        Directory,
        /// A FIFO, a device, a socket: opening or reading it may wait for ever.
        NotRegular,
        Unreadable,
        NotSoundFont,
        /// FluidSynth refused the file.
        Refused,
    };
    ESoundFontError(TReason reason, std::string path, TMessage message)
        : EAudioError(std::move(message)), FReason(reason), FPath(std::move(path))
    {
    }
    TReason Reason() const { return FReason; }
    const std::string& Path() const { return FPath; }

private:
    TReason FReason;
    std::string FPath;
};

/// A rendering given up because its caller asked (the progress callback said no): it has
/// left no file behind.
class ERenderCancelled : public EAudioError
{
public:
    ERenderCancelled() : EAudioError(Core::Tr("The rendering was cancelled")) {}
};
