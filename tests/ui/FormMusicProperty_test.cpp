#include "audio/AbstractMediaPlayer.h"
#include "audio/SongPlayer.h"
#include "base/Random.h"
#include "compose/RandomSetting.h"
#include "controls/DialEdit.h"
#include "controls/FakeGroupBox.h"
#include "mainform/MainFormParts.h"
#include "mainform/MainFormTestAccess.h"
#include "midi/ArrangeList.h"
#include "midi/GmInstruments.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "ui/MessageBoxes.h"
#include "ui/SongHistory.h"
#include "ui/editor/FormMusicProperty.h"
#include "ui/mainform/LyravaneMainForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

/// Remembers what it was asked to play: the events of the file as they stood at Open.
class TFakePlayer : public TAbstractMediaPlayer
{
public:
    void Close() override { Calls.push_back("Close"); }
    void SetFileName(const std::string& fileName) override
    {
        Calls.push_back("SetFileName");
        FileName = fileName;
    }
    void Open() override
    {
        Calls.push_back("Open");
        Played = std::make_unique<TMidiData>();
        Played->LoadFromFile(FileName);
    }
    void Play() override { Calls.push_back("Play"); }
    bool Playing() const override { return false; }

    std::vector<std::string> Calls;
    std::string FileName;
    std::unique_ptr<TMidiData> Played;
};

class TFakeMessageBoxes : public TMessageBoxes
{
public:
    TMsgResult Show(QWidget*, const QString& text, TMsgIcon, TMsgButtons) override
    {
        Texts.push_back(text);
        return TMsgResult::Ok;
    }
    std::vector<QString> Texts;
};

/// A pattern file of four bars, one note of the given pitch on every beat.
void WritePattern(const std::string& path, int channel, int note)
{
    TMidiData midi;
    midi.SetTrackCount(2);
    for (int beat = 0; beat < 16; ++beat)
        midi.AddNote(1, beat * 384, 192, channel, note, 100);
    midi.SaveToFile(path);
}

struct TNote
{
    int Track;
    int Time;
    int Status;
    int Note;
};

std::vector<TNote> Notes(const TMidiData& midi)
{
    std::vector<TNote> notes;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (const auto& event : *midi.GetTrack(t))
            if ((event->Status() & 0xF0) == 0x90)
                notes.push_back({t, event->Time, event->Status(), event->Data[1]});
    return notes;
}

/// The page's size in the main window at the default font: the page panel and the 4 pixels
/// on each side that lie outside it.
const QSize PageSize(628, 346);

int EventCount(const TMidiData& midi)
{
    int count = 0;
    for (int t = 0; t < midi.TrackCount(); ++t)
        count += midi.GetTrack(t)->Count();
    return count;
}

/// A page over a song of the usual shape, with small pattern libraries of its own: the
/// backing library holds a name in Shift-JIS and an entry whose file is missing.
class FormMusicPropertyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        const std::string dir = Dir.path().toStdString();
        WritePattern(dir + "/back.mid", 0, 64);
        WritePattern(dir + "/bass.mid", 0, 36);
        WritePattern(dir + "/drum.mid", 9, 38);
        SavedLibraries = {BackPatterns, BassPatterns, DrumPatterns};
        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
        BackPatterns.LoadIndexText(std::string("back.mid | Pop 8 Beat\nback.mid | ") +
                                       QuarterNoteArpeggioShiftJis + "\nlost.mid | Perdido\n",
                                   dir);
        BassPatterns.LoadIndexText("bass.mid | Bajo Simple\n", dir);
        DrumPatterns.LoadIndexText("drum.mid | Rock\n", dir);

        Song.NewSong();
        SongPlayer = std::make_unique<TSongPlayer>(&Player, dir + "/$$$.mid");
        Services.SongPlayer = SongPlayer.get();
        Services.IncludeReset = [this] { return IncludeReset; };
        Services.MessageBoxes = &Boxes;
        Page = std::make_unique<TFormMusicProperty>(Services);
        Page->SetEditRunner(
            [this](const QString& step, const QObject* control, const std::function<void()>& edit)
            { History.Edit(step, control, edit); });
        Page->resize(PageSize);
        Page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Page.get()));
    }

    void TearDown() override
    {
        Page.reset();
        BackPatterns = SavedLibraries[0];
        BassPatterns = SavedLibraries[1];
        DrumPatterns = SavedLibraries[2];
    }

    TMuprop& Prop() { return *Song.PropertyAt(0); }

    /// The song's modified flag, which only the history sets.
    void SetModified(bool modified) { modified ? History.MarkUnsaved() : History.MarkSaved(); }

    /// Shows the song's property set with the song saved (not modified).
    void ShowProp()
    {
        SetModified(false);
        Page->SetMuprop(&Prop());
    }

    void TypeInto(TDialEdit* edit, const QString& text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir Dir;
    std::vector<TArrangeList> SavedLibraries;
    TMusicProject Song;
    TSongHistory History{Song, [] { return 0; }, [](const TSongSnapshot&, int) {}};
    TFakePlayer Player;
    std::unique_ptr<TSongPlayer> SongPlayer;
    TFakeMessageBoxes Boxes;
    bool IncludeReset = false;
    TPropertyPageServices Services;
    std::unique_ptr<TFormMusicProperty> Page;
};

TEST_F(FormMusicPropertyTest, StartsInTheFormsInitialState)
{
    EXPECT_EQ(Page->LabelScale->text(), QStringLiteral("C-May."));
    EXPECT_TRUE(Page->RadioButton1->isChecked());
    EXPECT_EQ(Page->DialEditK->MinValue(), -12);
    EXPECT_EQ(Page->DialEditK->MaxValue(), 12);
    EXPECT_EQ(Page->DialEditK->Value(), 0);
    EXPECT_EQ(Page->DialEditT->MinValue(), 10);
    EXPECT_EQ(Page->DialEditT->MaxValue(), 250);
    EXPECT_EQ(Page->DialEditT->Value(), 120);
    for (int t = 0; t < TrackCount; ++t)
    {
        const auto i = static_cast<std::size_t>(t);
        EXPECT_EQ(Page->DialEdit10x[i]->Value(), 100);
        EXPECT_EQ(Page->DialEdit20x[i]->Value(), 64);
        EXPECT_EQ(Page->DialEdit30x[i]->Value(), 40);
        EXPECT_EQ(Page->DialEdit40x[i]->Value(), 0);
        EXPECT_EQ(Page->DialEdit40x[i]->MaxValue(), 127);
    }
    EXPECT_EQ(Page->ButtonRandomSet->text(), QStringLiteral("Composicion Aleatoria"));
    EXPECT_EQ(Page->CheckBox2->text(), QStringLiteral("Usar Atrapar Bateria"));

    // Each pattern list: "None", then its library in order, the first item selected.
    const QComboBox* backing = Page->ComboBoxA[1];
    ASSERT_EQ(backing->count(), 4);
    EXPECT_EQ(backing->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(backing->itemText(1), QStringLiteral("Pop 8 Beat"));
    EXPECT_EQ(backing->itemText(2), QString::fromUtf8(QuarterNoteArpeggioUtf8));
    EXPECT_EQ(backing->currentIndex(), 0);
    EXPECT_EQ(Page->ComboBoxA[3]->count(), 2);
    EXPECT_EQ(Page->ComboBoxA[3]->itemText(1), QStringLiteral("Rock"));
}

TEST_F(FormMusicPropertyTest, InstrumentListsHoldTheGeneralMidiProgramsAndDrumKits)
{
    const QRegularExpression item(QStringLiteral("^(\\d{3})\\.[A-Z][ -~]*$"));
    for (int t = 0; t < 4; ++t)
    {
        const QComboBox* list = Page->ComboBox10x[static_cast<std::size_t>(t)];
        ASSERT_EQ(list->count(), 128);
        for (int i = 0; i < 128; ++i)
        {
            const QRegularExpressionMatch match = item.match(list->itemText(i));
            ASSERT_TRUE(match.hasMatch()) << list->itemText(i).toStdString();
            EXPECT_EQ(match.captured(1).toInt(), i + 1);
        }
        EXPECT_EQ(list->itemText(0), QStringLiteral("001.Piano de cola"));
        EXPECT_EQ(list->itemText(24), QStringLiteral("025.Guitarra de Nailon"));
        EXPECT_EQ(list->itemText(40), QStringLiteral("041.Violin"));
        EXPECT_EQ(list->itemText(56), QStringLiteral("057.Trompeta"));
        EXPECT_EQ(list->itemText(73), QStringLiteral("074.Flauta"));
        EXPECT_EQ(list->itemText(127), QStringLiteral("128.Disparo de arma"));
    }
    // Every name is different: none was written twice by mistake.
    QStringList names;
    for (const char* name : GmInstrumentNames)
        names << QString::fromLatin1(name).mid(4);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 128);

    const QComboBox* drums = Page->ComboBox10x[4];
    const QStringList kits = {"001.STANDARD", "009.ROOM",     "017.POWER", "025.ELECTRONIC",
                              "026.TR-808",   "033.JAZZ",     "041.BRUSH", "049.ORCHESTRA",
                              "057.SFX",      "128.CM-64/32L"};
    ASSERT_EQ(drums->count(), kits.size());
    for (int i = 0; i < drums->count(); ++i)
    {
        EXPECT_EQ(drums->itemText(i), kits[i]);
        // The kit's number is the program the drum track is given.
        EXPECT_EQ(kits[i].left(3).toInt(), DrumKitTable[static_cast<std::size_t>(i)]);
    }
}

TEST_F(FormMusicPropertyTest, LoadingShowsEveryValueAndNeverMarksTheSongModified)
{
    TMuprop& prop = Prop();
    prop.Key = -5;
    prop.Scale = 1;
    prop.Tempo = 97;
    prop.SetUse7th(1);
    prop.SetOctaveUp(1);
    prop.GetTrack(0).SetInstrument(73);
    prop.GetTrack(4).SetInstrument(9);
    prop.GetTrack(2).SetPan(5);
    prop.GetTrack(3).SetChorus(77);
    prop.SetPatternName(0, "pop 8 BEAT");
    prop.SetPatternName(1, QuarterNoteArpeggioShiftJis);

    for (const bool modified : {false, true})
    {
        SetModified(modified);
        Page->SetMuprop(&prop);
        EXPECT_EQ(Song.Modified, modified);
    }
    EXPECT_EQ(Page->DialEditK->Value(), -5);
    EXPECT_TRUE(Page->RadioButton2->isChecked());
    EXPECT_EQ(Page->LabelScale->text(), QStringLiteral("E-Min.  "));
    EXPECT_EQ(Page->DialEditT->Value(), 97);
    EXPECT_TRUE(Page->CheckBox1->isChecked());
    EXPECT_FALSE(Page->CheckBox2->isChecked());
    EXPECT_TRUE(Page->CheckBox3->isChecked());
    EXPECT_EQ(Page->ComboBox10x[0]->currentText(), QStringLiteral("074.Flauta"));
    EXPECT_EQ(Page->ComboBox10x[4]->currentText(), QStringLiteral("128.CM-64/32L"));
    EXPECT_EQ(Page->DialEdit20x[2]->Value(), 5);
    EXPECT_EQ(Page->DialEdit40x[3]->Value(), 77);
    // Names are matched with letter case ignored; the Shift-JIS name finds its item.
    EXPECT_EQ(Page->ComboBoxA[0]->currentIndex(), 1);
    EXPECT_EQ(Page->ComboBoxA[1]->currentIndex(), 2);
    EXPECT_EQ(Page->ComboBoxA[2]->currentText(), QStringLiteral("Bajo Simple"));
}

TEST_F(FormMusicPropertyTest, ReloadedListsShowANewPatternAndKeepEveryChoice)
{
    TMuprop& prop = Prop();
    prop.SetPatternName(2, "Bajo Simple");
    prop.SetPatternName(3, "Rock");
    Page->SetMuprop(&prop);
    SetModified(false);

    BassPatterns.LoadIndexText("USER/BASSU001.MID | Mi Bajo\n", "/data/PATTERN");
    Page->ReloadPatternLists();
    const QComboBox* bass = Page->ComboBoxA[2];
    ASSERT_EQ(bass->count(), 3);
    EXPECT_EQ(bass->itemText(2), QStringLiteral("Mi Bajo"));
    EXPECT_EQ(bass->currentText(), QStringLiteral("Bajo Simple"));
    EXPECT_EQ(Page->ComboBoxA[3]->currentText(), QStringLiteral("Rock"));
    EXPECT_EQ(prop.GetPatternName(2), "Bajo Simple");
    EXPECT_FALSE(Song.Modified);
}

TEST_F(FormMusicPropertyTest, LoadingLeavesValuesTheControlsCannotShowAsTheyAre)
{
    TMuprop& prop = Prop();
    prop.SetPatternName(2, "Gone From The Library");
    prop.GetTrack(1).SetVolume(200);
    prop.GetTrack(4).SetInstrument(12);
    ShowProp();
    EXPECT_EQ(Page->ComboBoxA[2]->currentIndex(), -1);
    EXPECT_EQ(Page->DialEdit10x[1]->Value(), 127);
    EXPECT_EQ(Page->ComboBox10x[4]->currentIndex(), -1);
    EXPECT_EQ(prop.GetPatternName(2), "Gone From The Library");
    EXPECT_EQ(prop.GetTrack(1).Volume, 200);
    EXPECT_EQ(prop.GetTrack(4).Instrument, 12);
    EXPECT_FALSE(Song.Modified);
}

TEST_F(FormMusicPropertyTest, KeyLabelNamesTheKeyThatSounds)
{
    // Every key in both scales: the minor label names the relative minor, the tonic a major
    // sixth above the key, i.e. the note the major label of key + 9 names.
    const QString minorOfKey0[12] = {"A-Min.  ", "Bb-Min",   "B-Min.  ", "C-Min.",
                                     "Db-Min. ", "D-Min.",   "Eb-Min",   "E-Min.  ",
                                     "F-Min.",   "Gb-Min. ", "G-Min.",   "Ab-Min"};
    for (int key = 0; key < 12; ++key)
    {
        const QString major = KeyLabelText(0, key);
        const QString minor = KeyLabelText(1, key);
        EXPECT_EQ(minor, minorOfKey0[key]) << key;
        EXPECT_TRUE(major.endsWith(QStringLiteral("Maj.")) ||
                    major.endsWith(QStringLiteral("Maj. ")))
            << key;
        EXPECT_EQ(minor.section(u'-', 0, 0), KeyLabelText(0, key + 9).section(u'-', 0, 0)) << key;
        for (const int octave : {-12, 12})
        {
            EXPECT_EQ(KeyLabelText(0, key + octave), major) << key + octave;
            EXPECT_EQ(KeyLabelText(1, key + octave), minor) << key + octave;
        }
    }
    EXPECT_EQ(KeyLabelText(0, 0), QStringLiteral("C-Maj."));
    EXPECT_EQ(KeyLabelText(0, 1), QStringLiteral("Db-Maj. "));
    EXPECT_EQ(KeyLabelText(0, -1), QStringLiteral("B-Maj."));
    EXPECT_EQ(KeyLabelText(1, -8), QStringLiteral("Db-Min. "));

    // The label changes with the scale; the stored key stays.
    Prop().Key = 2;
    ShowProp();
    EXPECT_EQ(Page->LabelScale->text(), QStringLiteral("D-Maj."));
    QTest::mouseClick(Page->RadioButton2, Qt::LeftButton);
    EXPECT_EQ(Page->LabelScale->text(), QStringLiteral("B-Min.  "));
    EXPECT_EQ(Prop().Scale, 1);
    EXPECT_EQ(Prop().Key, 2);
    EXPECT_TRUE(Song.Modified);

    SetModified(false);
    Page->DialEditK->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Page->DialEditK, Qt::Key_Up);
    EXPECT_EQ(Prop().Key, 3);
    EXPECT_EQ(Page->LabelScale->text(), QStringLiteral("C-Min."));
    EXPECT_TRUE(Song.Modified);
}

TEST_F(FormMusicPropertyTest, EveryEditWritesItsFieldAtOnceAndMarksTheSongModified)
{
    ShowProp();
    TMuprop& prop = Prop();
    auto expectEdit = [&](const char* what, const std::function<void()>& edit,
                          const std::function<bool()>& written)
    {
        SetModified(false);
        edit();
        EXPECT_TRUE(written()) << what;
        EXPECT_TRUE(Song.Modified) << what;
    };

    expectEdit(
        "tempo typed past the top is clamped", [&] { TypeInto(Page->DialEditT, "300"); },
        [&] { return prop.Tempo == 250 && Page->DialEditT->text() == "250"; });
    expectEdit(
        "key typed below the bottom is clamped", [&] { TypeInto(Page->DialEditK, "-13"); },
        [&] { return prop.Key == -12; });
    expectEdit(
        "7th", [&] { QTest::mouseClick(Page->CheckBox1, Qt::LeftButton); },
        [&] { return prop.Use7th == 1; });
    expectEdit(
        "snare", [&] { QTest::mouseClick(Page->CheckBox2, Qt::LeftButton); },
        [&] { return prop.AltSnare == 1; });
    expectEdit(
        "octave", [&] { QTest::mouseClick(Page->CheckBox3, Qt::LeftButton); },
        [&] { return prop.OctaveUp == 1; });
    expectEdit(
        "octave off", [&] { QTest::mouseClick(Page->CheckBox3, Qt::LeftButton); },
        [&] { return prop.OctaveUp == 0; });
    expectEdit(
        "volume of Acomp. 2", [&] { TypeInto(Page->DialEdit10x[2], "55"); },
        [&] { return prop.GetTrack(2).Volume == 55; });
    expectEdit(
        "pan of the bass", [&] { Page->DialEdit20x[3]->StepDown(); },
        [&] { return prop.GetTrack(3).Pan == 63; });
    expectEdit(
        "reverb of the melody", [&] { Page->DialEdit30x[0]->StepUp(); },
        [&] { return prop.GetTrack(0).Reverb == 41; });
    expectEdit(
        "chorus of the drums", [&] { TypeInto(Page->DialEdit40x[4], "9"); },
        [&] { return prop.GetTrack(4).Chorus == 9; });
    expectEdit(
        "instrument of the bass", [&] { Page->ComboBox10x[3]->setCurrentIndex(35); },
        [&] { return prop.GetTrack(3).Instrument == 35; });
    expectEdit(
        "drum kit", [&] { Page->ComboBox10x[4]->setCurrentIndex(6); },
        [&] { return prop.GetTrack(4).Instrument == 6; });
    // Only the track of the list's own row changes.
    EXPECT_EQ(prop.GetTrack(2).Instrument, 4);
    ASSERT_EQ(Page->ComboBoxA[0]->currentIndex(), 1);
    expectEdit(
        "pattern of Acomp. 1 (stored as the library's bytes)",
        [&] { Page->ComboBoxA[0]->setCurrentIndex(2); },
        [&] { return prop.GetPatternName(0) == QuarterNoteArpeggioShiftJis; });
    expectEdit(
        "None is stored as its text", [&] { Page->ComboBoxA[3]->setCurrentIndex(0); },
        [&] { return prop.GetPatternName(3) == "None"; });
}

TEST_F(FormMusicPropertyTest, RandomSettingDrawsThroughTheEngineAndShowsTheResult)
{
    for (std::uint32_t seed = 1; seed <= 150; ++seed)
    {
        ShowProp();
        TMuprop expected = Prop();
        SetRandSeed(seed);
        RandomPropertySetting(expected, LibraryPatternChoices());
        SetRandSeed(seed);
        QTest::mouseClick(Page->ButtonRandomSet, Qt::LeftButton);

        const TMuprop& prop = Prop();
        ASSERT_EQ(prop.Tempo, expected.Tempo) << seed;
        ASSERT_EQ(prop.Key, expected.Key) << seed;
        ASSERT_EQ(prop.PatternNames, expected.PatternNames) << seed;
        ASSERT_EQ(prop.GetTrack(4).Instrument, expected.GetTrack(4).Instrument) << seed;

        const int drumKit = prop.GetTrack(4).Instrument;
        EXPECT_NE(drumKit, 7) << seed; // "049.ORCHESTRA"
        EXPECT_NE(drumKit, 8) << seed; // "057.SFX"
        EXPECT_EQ(prop.GetTrack(4).Chorus, 0) << seed;
        EXPECT_LE(prop.GetTrack(1).Volume, prop.GetTrack(0).Volume - 10) << seed;
        EXPECT_LE(prop.GetTrack(2).Volume, prop.GetTrack(0).Volume - 10) << seed;
        EXPECT_GE(prop.Key, -11) << seed;
        EXPECT_LE(prop.Key, 11) << seed;
        EXPECT_GE(prop.Tempo, 80) << seed;
        EXPECT_LE(prop.Tempo, 179) << seed;

        // The page shows the new set.
        EXPECT_EQ(Page->DialEditT->Value(), prop.Tempo) << seed;
        EXPECT_EQ(Page->DialEditK->Value(), prop.Key) << seed;
        EXPECT_EQ(Page->LabelScale->text(), KeyLabelText(prop.Scale, prop.Key)) << seed;
        EXPECT_EQ(Page->ComboBox10x[4]->currentIndex(), drumKit) << seed;
        EXPECT_EQ(Page->DialEdit10x[1]->Value(), prop.GetTrack(1).Volume) << seed;
        EXPECT_EQ(Page->CheckBox1->isChecked(), prop.Use7th != 0) << seed;
        EXPECT_GE(Page->ComboBoxA[3]->currentIndex(), 0) << seed;
        // The whole set changed: the song must not be closed without asking.
        EXPECT_TRUE(Song.Modified) << seed;
    }
}

TEST_F(FormMusicPropertyTest, PreviewOfNoneIsDisabledAndWouldPlayOnlyTheSetUpEvents)
{
    Prop().SetPatternName(0, "None");
    Prop().SetPatternName(1, "Pop 8 Beat");
    Prop().SetPatternName(3, "Gone From The Library");
    ShowProp();
    EXPECT_FALSE(Page->BitBtn[0]->isEnabled());
    EXPECT_TRUE(Page->BitBtn[1]->isEnabled());
    EXPECT_FALSE(Page->BitBtn[3]->isEnabled());
    QTest::mouseClick(Page->BitBtn[0], Qt::LeftButton);
    EXPECT_TRUE(Player.Calls.empty());
    // Choosing a pattern enables the preview, choosing "None" again disables it.
    Page->ComboBoxA[0]->setCurrentIndex(1);
    EXPECT_TRUE(Page->BitBtn[0]->isEnabled());
    Page->ComboBoxA[0]->setCurrentIndex(0);
    EXPECT_FALSE(Page->BitBtn[0]->isEnabled());
    SetModified(false);

    // What the preview of "None" renders: the set-up alone.
    Page->BitBtn1Click(1);
    ASSERT_NE(Player.Played, nullptr);
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"Close", "SetFileName", "Open", "Play"}));
    EXPECT_EQ(Player.FileName, SongPlayer->TempMidiFile());
    EXPECT_EQ(EventCount(*Player.Played), 26);
    EXPECT_TRUE(Notes(*Player.Played).empty());

    // With the lead-in: System On and the fast tempo come first, the set-up a bar later.
    IncludeReset = true;
    Page->BitBtn1Click(1);
    EXPECT_EQ(EventCount(*Player.Played), 28);
    const TMidiTrack& first = *Player.Played->GetTrack(0);
    EXPECT_EQ(first.Get(0)->Time, 0);
    EXPECT_EQ(first.Get(0)->Status(), 0xF0);
    EXPECT_EQ(first.Get(first.Count() - 1)->Time, 1536);
    EXPECT_TRUE(Notes(*Player.Played).empty());
    EXPECT_FALSE(Song.Modified);
}

TEST_F(FormMusicPropertyTest, PreviewPlaysTwoBarsOfTheChosenPattern)
{
    Prop().SetPatternName(3, "rock");
    Prop().SetAltSnare(1);
    ShowProp();
    IncludeReset = true;
    QTest::mouseClick(Page->BitBtn[3], Qt::LeftButton);
    ASSERT_NE(Player.Played, nullptr);
    const std::vector<TNote> notes = Notes(*Player.Played);
    ASSERT_EQ(notes.size(), 8u);
    for (std::size_t i = 0; i < notes.size(); ++i)
    {
        EXPECT_EQ(notes[i].Track, 4);
        EXPECT_EQ(notes[i].Status, 0x99);
        EXPECT_EQ(notes[i].Note, 40); // the alternative snare
        EXPECT_EQ(notes[i].Time, 1536 + static_cast<int>(i) * 384);
    }

    // Acomp. 2 on its own track and channel, nothing of the other slots.
    Prop().SetPatternName(1, "Pop 8 Beat");
    IncludeReset = false;
    QTest::mouseClick(Page->BitBtn[1], Qt::LeftButton);
    const std::vector<TNote> backing = Notes(*Player.Played);
    ASSERT_FALSE(backing.empty());
    for (const TNote& note : backing)
    {
        EXPECT_EQ(note.Track, 2);
        EXPECT_EQ(note.Status, 0x92);
        EXPECT_LT(note.Time, 2 * 1536);
    }
}

TEST_F(FormMusicPropertyTest, APreviewThatFailsSaysWhyAndPlaysNothing)
{
    Prop().SetPatternName(0, "Perdido");
    ShowProp();
    QTest::mouseClick(Page->BitBtn[0], Qt::LeftButton);
    ASSERT_EQ(Boxes.Texts.size(), 1u);
    EXPECT_TRUE(Boxes.Texts[0].contains(QStringLiteral("lost.mid")))
        << Boxes.Texts[0].toStdString();
    EXPECT_EQ(Player.Calls, std::vector<std::string>{"Close"});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

/// Whether the list's closed box shows every item whole.
bool ShowsEveryItemWhole(QComboBox* list)
{
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const int room =
        list->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
            .width();
    for (int i = 0; i < list->count(); ++i)
        if (list->fontMetrics().horizontalAdvance(list->itemText(i)) > room)
        {
            ADD_FAILURE() << list->objectName().toStdString() << ": "
                          << list->itemText(i).toStdString() << " does not fit " << room;
            return false;
        }
    return true;
}

TEST_F(FormMusicPropertyTest, EveryControlLiesInsideThePageUnclipped)
{
    for (QComboBox* list : Page->ComboBox10x)
        EXPECT_TRUE(ShowsEveryItemWhole(list));
    for (QComboBox* list : Page->ComboBoxA)
        EXPECT_TRUE(ShowsEveryItemWhole(list));

    // The 4 pixels on each side lie outside the main window's page panel.
    const QRect visible = Page->rect().adjusted(4, 4, -4, -4);
    for (QWidget* child : Page->findChildren<QWidget*>())
    {
        if (!child->isVisible() || child->parentWidget() == nullptr ||
            qobject_cast<TDialEdit*>(child->parentWidget()) != nullptr)
            continue;
        const QRect inPage(child->mapTo(Page.get(), QPoint(0, 0)), child->size());
        EXPECT_TRUE(visible.contains(inPage))
            << child->objectName().toStdString() << " " << child->metaObject()->className();
        // Nothing is squeezed below the size it asks for.
        const QSize wanted = child->minimumSizeHint();
        if (qobject_cast<QLabel*>(child) != nullptr || qobject_cast<QAbstractButton*>(child))
        {
            EXPECT_GE(child->width(), wanted.width()) << child->objectName().toStdString();
        }
        // And every child lies inside its parent.
        if (child->parentWidget() != Page.get())
        {
            EXPECT_TRUE(child->parentWidget()->rect().contains(child->geometry()))
                << child->objectName().toStdString();
        }
    }
}

TEST_F(FormMusicPropertyTest, TheMainWindowShowsThePageOnItsCompositionTab)
{
    TMainFormServices services;
    services.MessageBoxes = &Boxes;
    services.Player = &Player;
    services.TempMidiFile = SongPlayer->TempMidiFile();
    services.SettingsPath = Dir.filePath(QStringLiteral("settings.ini"));
    TLyravaneMainForm form(services);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(50);

    TMusicProject& song = form.Document().Song();
    auto* page = qobject_cast<TFormMusicProperty*>(PropertyPage(form));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(form.TabControl1->currentIndex(), 0);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->Muprop(), song.PropertyAt(0));
    EXPECT_FALSE(song.Modified);
    // The layout has all the room it asks for, so nothing is squeezed.
    EXPECT_LE(page->minimumSizeHint().width(), page->width());
    EXPECT_LE(page->minimumSizeHint().height(), page->height());
    EXPECT_LE(page->width(), PageSize.width());
    EXPECT_LE(page->height(), PageSize.height());

    // Every control of the page lies within the part of the panel one can see.
    const QRect panel = PagePanel(form)->rect();
    for (QWidget* child : page->findChildren<QWidget*>())
    {
        if (!child->isVisible())
            continue;
        const QRect inPanel(child->mapTo(PagePanel(form), QPoint(0, 0)), child->size());
        EXPECT_TRUE(panel.contains(inPanel)) << child->objectName().toStdString();
    }

    // Edits reach the window's song; the preview plays through its player with its lead-in.
    TypeInto(page->DialEditT, QStringLiteral("99"));
    EXPECT_EQ(song.PropertyAt(0)->Tempo, 99);
    EXPECT_TRUE(song.Modified);
    Player.Calls.clear();
    Inside(form).IncludeReset = true;
    song.PropertyAt(0)->SetPatternName(2, "None");
    QTest::mouseClick(page->BitBtn[2], Qt::LeftButton);
    ASSERT_EQ(Player.Calls.size(), 4u);
    ASSERT_NE(Player.Played, nullptr);
    EXPECT_EQ(EventCount(*Player.Played), 28);
    EXPECT_EQ(Player.Played->GetTrack(0)->Get(0)->Status(), 0xF0);
}

} // namespace
