#include "ui/FormMixer.h"

#include "ui/Translations.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace
{
constexpr int MaxVolume = 127;
} // namespace

TFormMixer::TFormMixer(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FormMixer"));
    setWindowTitle(tr("Mezclador"));
    auto* grid = new QGridLayout(this);
    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        const QString part = CoreText(TrackPartName(track));
        auto* name = new QLabel(part, this);
        name->setAlignment(Qt::AlignCenter);
        grid->addWidget(name, 0, track);

        auto* slider = new QSlider(Qt::Vertical, this);
        slider->setObjectName(QStringLiteral("Volume%1").arg(track));
        slider->setRange(0, MaxVolume);
        slider->setPageStep(8);
        slider->setMinimumHeight(120);
        slider->setAccessibleName(tr("%1: volumen").arg(part));
        name->setBuddy(slider);
        grid->addWidget(slider, 1, track, Qt::AlignHCenter);
        Volumes[t] = slider;
        auto* value = new QLabel(this);
        value->setAlignment(Qt::AlignCenter);
        grid->addWidget(value, 2, track);
        VolumeLabels[t] = value;
        connect(slider, &QSlider::valueChanged, this,
                [this, track, value](int volume)
                {
                    value->setNum(volume);
                    emit VolumeChanged(track, volume);
                });

        const auto toggle =
            [this, &part, grid, track](const QString& caption, const QString& accessible, int row)
        {
            auto* button = new QPushButton(caption, this);
            button->setCheckable(true);
            button->setAccessibleName(accessible.arg(part));
            grid->addWidget(button, row, track);
            connect(button, &QPushButton::toggled, this,
                    [this] { emit MutedChannelsChanged(MutedChannels()); });
            return button;
        };
        Mutes[t] = toggle(tr("Silencio"), tr("%1: silencio"), 3);
        Mutes[t]->setObjectName(QStringLiteral("Mute%1").arg(track));
        Solos[t] = toggle(tr("Solo"), tr("%1: solo"), 4);
        Solos[t]->setObjectName(QStringLiteral("Solo%1").arg(track));
    }
}

void TFormMixer::ShowVolumes(const std::array<int, TrackCount>& volumes)
{
    for (std::size_t t = 0; t < volumes.size(); ++t)
    {
        // Shown, not moved by the user: no edit.
        const QSignalBlocker quiet(Volumes[t]);
        Volumes[t]->setValue(volumes[t]);
        VolumeLabels[t]->setNum(Volumes[t]->value());
    }
}

std::uint16_t TFormMixer::MutedChannels() const
{
    bool anySolo = false;
    for (const QAbstractButton* solo : Solos)
        anySolo = anySolo || solo->isChecked();
    std::uint16_t channels = 0;
    for (int track = 0; track < TrackCount; ++track)
    {
        const auto t = static_cast<std::size_t>(track);
        if (Mutes[t]->isChecked() || (anySolo && !Solos[t]->isChecked()))
            channels |= static_cast<std::uint16_t>(1U << TrackChannel(track));
    }
    return channels;
}
