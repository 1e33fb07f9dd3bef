#pragma once

#include "model/Muprop.h"
#include "ui/editor/SongPages.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QRadioButton;
class QToolButton;
class TDialEdit;
class TFakeGroupBox;
class TMessageBoxes;
class TSongPlayer;

/// What the property page reaches in the main window; none of it is owned. Tests put fakes
/// in its place.
struct TPropertyPageServices
{
    /// The main window's song player, which the pattern preview plays through; null or
    /// one that cannot play: the previews do nothing.
    TSongPlayer* SongPlayer = nullptr;
    /// The "IncludeReset" option as it stands when a preview starts; empty: off.
    std::function<bool()> IncludeReset;
    /// Where a preview that fails says why; null: the failure is not shown.
    TMessageBoxes* MessageBoxes = nullptr;
};

/// The key label: the name of the key that sounds. In major the key itself; in minor its
/// relative minor, (key + 9) mod 12 ("A-Min." for key 0). The key is taken modulo 12.
QString KeyLabelText(std::uint8_t scale, int key);

/// The "Composition" page: key, scale, tempo, options, the four accompaniment patterns
/// with their previews, and instrument, volume, pan, reverb and chorus of the five tracks.
/// Every change goes straight into the property set shown and marks the song modified.
class TFormMusicProperty : public TPropertyPage
{
    Q_OBJECT

public:
    explicit TFormMusicProperty(const TPropertyPageServices& services, QWidget* parent = nullptr);

    /// Loads every control from muprop, which is no edit. Null: nothing is edited until the
    /// next call.
    void SetMuprop(TMuprop* muprop) override;
    void ReloadPatternLists() override;
    TMuprop* Muprop() const { return FMuprop; }

    QPushButton* ButtonRandomSet;
    TFakeGroupBox* GroupBoxOption;
    QCheckBox* CheckBox1; ///< "Usar Acordes de 7th": Use7th
    QCheckBox* CheckBox2; ///< "Usar Atrapar Bateria": AltSnare
    QCheckBox* CheckBox3; ///< "Melodia de 1 Octava Arriba": OctaveUp
    TFakeGroupBox* GroupBoxScale;
    QRadioButton* RadioButton1; ///< "Mayor"
    QRadioButton* RadioButton2; ///< "Menor"
    TFakeGroupBox* GroupBoxKey;
    TDialEdit* DialEditK;
    QLabel* LabelScale;
    TFakeGroupBox* GroupBoxTempo;
    TDialEdit* DialEditT;
    TFakeGroupBox* GroupBoxPattern;
    /// Acomp. 1, Acomp. 2, Bajo, Bateria: tags 0 to 3 (the pattern slots).
    std::array<QComboBox*, PatternSlotCount> ComboBoxA{};
    /// The previews beside them: tags 1 to 4.
    std::array<QToolButton*, PatternSlotCount> BitBtn{};
    TFakeGroupBox* GroupBoxTracks;
    /// Per track (tags 0 to 4): instrument (ComboBox101 to ComboBox105), volume
    /// (DialEdit101 to DialEdit105), pan (DialEdit201...), reverb (DialEdit301...) and
    /// chorus (DialEdit401...).
    std::array<QComboBox*, TrackCount> ComboBox10x{};
    std::array<TDialEdit*, TrackCount> DialEdit10x{};
    std::array<TDialEdit*, TrackCount> DialEdit20x{};
    std::array<TDialEdit*, TrackCount> DialEdit30x{};
    std::array<TDialEdit*, TrackCount> DialEdit40x{};

    // The handlers write the control's value into the property set shown and mark the song
    // modified; tag: the track or the pattern slot.
    /// The key, and the key label with it.
    void DialEditKChange();
    /// The major scale, and the key label with it.
    void RadioButton1Click();
    /// The minor scale, and the key label with it.
    void RadioButton2Click();
    /// The tempo.
    void DialEditTChange();
    /// The track's instrument, from the instrument lists.
    void ComboBox101Change(int tag);
    /// The track's volume.
    void DialEdit101Change(int tag);
    /// The track's pan.
    void DialEdit201Change(int tag);
    /// The track's reverb level.
    void DialEdit301Change(int tag);
    /// The track's chorus level.
    void DialEdit401Change(int tag);
    /// The slot's pattern name, from the pattern lists.
    void ComboBoxA1Change(int tag);
    /// Seventh chords in the accompaniment (Use7th).
    void CheckBox1Click();
    /// The other snare on the drum track (AltSnare).
    void CheckBox2Click();
    /// The melody an octave higher (OctaveUp).
    void CheckBox3Click();
    /// Draws every value at random into the property set and shows the result.
    void ButtonRandomSetClick();
    /// Plays two bars of the pattern of slot tag (1 to 4) over chord I.
    void BitBtn1Click(int tag);

private:
    void CreateControls();
    /// The preview button of a pattern slot is enabled only while its list names a pattern.
    void UpdatePreviewButton(int slot);
    QLayout* CreateOptionColumn();
    QLayout* CreateKeyTempoColumn();
    QWidget* CreatePatternGroup();
    QWidget* CreateTrackGroup();
    void FillInstrumentLists();
    void ConnectHandlers();
    void FormCreate();
    void FillPatternLists();
    void UpdateKeyLabel();
    /// Whether a change handler may write: a property set is shown and no loading runs.
    bool Editing() const { return FMuprop != nullptr && !FLoading; }
    /// The name of item index of slot's pattern list, as the library stores it.
    std::string PatternNameAt(int slot, int index) const;

    TPropertyPageServices FServices;
    TMuprop* FMuprop = nullptr; // not owned
    bool FLoading = false;
};
