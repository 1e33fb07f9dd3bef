#pragma once

#include "model/Muprop.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QAbstractButton;
class QSlider;
class QLabel;

/// "Mezclador": a strip per part (melody, the two backings, bass, drums) with its volume, a
/// mute and a solo. The volumes are the song's (the window records each change as an edit);
/// mute and solo only silence parts of what plays, for this session.
class TFormMixer : public QDialog
{
    Q_OBJECT

public:
    explicit TFormMixer(QWidget* parent = nullptr);

    /// Shows the song's volumes (after an edit, undo, another song); sends nothing.
    void ShowVolumes(const std::array<int, TrackCount>& volumes);
    /// The MIDI channels to silence: the muted parts, and with any solo every part not
    /// soloed.
    std::uint16_t MutedChannels() const;

    std::array<QSlider*, TrackCount> Volumes{};
    std::array<QLabel*, TrackCount> VolumeLabels{};
    std::array<QAbstractButton*, TrackCount> Mutes{};
    std::array<QAbstractButton*, TrackCount> Solos{};

signals:
    /// The user moved a part's volume.
    void VolumeChanged(int track, int volume);
    /// A mute or solo changed what is to be silenced.
    void MutedChannelsChanged(std::uint16_t channels);
};
