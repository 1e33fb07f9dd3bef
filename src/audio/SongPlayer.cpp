#include "audio/SongPlayer.h"

#include "audio/AbstractMediaPlayer.h"
#include "midi/MidiData.h"

#include <cstdio>
#include <utility>

TSongPlayer::TSongPlayer(TAbstractMediaPlayer* player, std::string tempMidiFile)
    : FPlayer(player), FTempMidiFile(std::move(tempMidiFile))
{
}

TSongPlayer::~TSongPlayer()
{
    if (!FTempMidiFile.empty())
        std::remove(FTempMidiFile.c_str());
}

void TSongPlayer::Play(const TRenderer& render, TClicks clicks)
{
    Open(render);
    FPlayer->SetClicks(clicks);
    FPlayer->Play();
}

void TSongPlayer::PlayLoop(const TRenderer& render, std::int32_t fromTick, std::int32_t toTick,
                           TClicks clicks)
{
    Open(render);
    FPlayer->SetClicks(clicks);
    FPlayer->PlayLoop(fromTick, toTick);
}

void TSongPlayer::SetMutedChannels(std::uint16_t mask)
{
    if (FPlayer != nullptr)
        FPlayer->SetMutedChannels(mask);
}

void TSongPlayer::SetOutputGain(double gainDb)
{
    if (FPlayer != nullptr)
        FPlayer->SetOutputGain(gainDb);
}

void TSongPlayer::SendControl(int channel, int controller, int value)
{
    if (FPlayer != nullptr)
        FPlayer->SendControl(channel, controller, value);
}

void TSongPlayer::Open(const TRenderer& render)
{
    ++FPlayNumber;
    // The player lets go of the file before it is rewritten.
    FPlayer->Close();
    TMidiData midi;
    render(midi);
    midi.SaveToFile(FTempMidiFile);
    FPlayer->SetFileName(FTempMidiFile);
    FPlayer->Open();
}

void TSongPlayer::QueueLoopPass(const TRenderer& render)
{
    // The player has read the whole file at Open: it may be rewritten while it plays.
    TMidiData midi;
    render(midi);
    midi.SaveToFile(FTempMidiFile);
    FPlayer->QueueLoopPass();
}

void TSongPlayer::Stop()
{
    if (FPlayer != nullptr)
        FPlayer->Close();
}

bool TSongPlayer::Playing() const
{
    return FPlayer != nullptr && FPlayer->Playing();
}

TPlayPosition TSongPlayer::Position() const
{
    return FPlayer != nullptr ? FPlayer->Position() : TPlayPosition();
}
