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

void TSongPlayer::Play(const TRenderer& render)
{
    // The player lets go of the file before it is rewritten.
    FPlayer->Close();
    TMidiData midi;
    render(midi);
    midi.SaveToFile(FTempMidiFile);
    FPlayer->SetFileName(FTempMidiFile);
    FPlayer->Open();
    FPlayer->Play();
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
