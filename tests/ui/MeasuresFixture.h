#pragma once

#include "model/Munit.h"
#include "model/MusicProject.h"
#include "ui/SongHistory.h"
#include "ui/editor/FormMusicMeasures.h"

#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>

/// A bar's rhythm as its characters, one a step.
inline std::string RhythmOf(const TMunit& unit, int bar)
{
    std::string text;
    for (int step = 0; step < TFormMusicMeasures::StepsPerBar; ++step)
        text += unit.GetRhythm(bar, step);
    return text;
}

/// The bar editor on unit 1 of a new song, shown and active.
class FormMusicMeasuresTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Song.NewSong();
        Unit = Song.UnitAt(1);
        Unit->SetProperty(Song.PropertyAt(0));
        // As in the main window: a page panel with the page 4 pixels beyond each edge.
        Panel.resize(632, 380);
        Form = new TFormMusicMeasures(&Panel);
        Form->setGeometry(-4, -4, 640, 388);
        Form->SetEditRunner(
            [this](const QString& step, const QObject* control, const std::function<void()>& edit)
            { History.Edit(step, control, edit); });
        Form->ShowUnit(Unit);
        Panel.show();
        Panel.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Panel));
        History.MarkSaved();
    }

    /// The song's modified flag, which only the history sets.
    void SetModified(bool modified) { modified ? History.MarkUnsaved() : History.MarkSaved(); }

    void ClickRhythm(int bar, int step, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Form->RhythmFrame[bar]->viewport(), button, {},
                          QPoint(step * 16 + 8, 10));
    }

    void ClickMelody(int bar, int step, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(Form->MelodyFrame[bar]->viewport(), button, modifiers,
                          QPoint(step * 16 + 8, 16));
    }

    /// Sets a bar's rhythm and the pitch of its first step, and shows the unit again.
    void SetBar(int bar, const char* rhythm, int pitch = 0)
    {
        Unit->SetBarRhythm(bar, rhythm);
        Unit->SetMelody(bar, 0, pitch);
        Form->ShowUnit(Unit);
    }

    QImage Grab(QWidget* widget) const
    {
        return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    }

    TMusicProject Song;
    TSongHistory History{Song, [] { return 1; }, [](const TSongSnapshot&, int) {}};
    TMunit* Unit = nullptr;
    QWidget Panel;
    TFormMusicMeasures* Form = nullptr;
};
