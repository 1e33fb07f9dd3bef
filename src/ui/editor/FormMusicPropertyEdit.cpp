// The property page's handlers: each writes its control's value into the property set shown.
#include "ui/editor/FormMusicProperty.h"

#include "audio/SongPlayer.h"
#include "compose/RandomSetting.h"
#include "controls/DialEdit.h"
#include "model/MusicProject.h"
#include "render/PatternPreview.h"
#include "ui/MessageBoxes.h"
#include "ui/WindowUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

#include <exception>

void TFormMusicProperty::DialEditKChange()
{
    if (!Editing())
        return;
    FMuprop->Key = DialEditK->Value();
    UpdateKeyLabel();
}

void TFormMusicProperty::RadioButton1Click()
{
    if (!Editing())
        return;
    FMuprop->Scale = 0;
    UpdateKeyLabel();
}

void TFormMusicProperty::RadioButton2Click()
{
    if (!Editing())
        return;
    FMuprop->Scale = 1;
    UpdateKeyLabel();
}

void TFormMusicProperty::DialEditTChange()
{
    if (!Editing())
        return;
    FMuprop->Tempo = DialEditT->Value();
}

void TFormMusicProperty::ComboBox101Change(int tag)
{
    if (!Editing())
        return;
    const int index = ComboBox10x[static_cast<std::size_t>(tag)]->currentIndex();
    if (index < 0)
        return;
    FMuprop->GetTrack(tag).SetInstrument(index);
}

void TFormMusicProperty::DialEdit101Change(int tag)
{
    if (!Editing())
        return;
    FMuprop->GetTrack(tag).SetVolume(DialEdit10x[static_cast<std::size_t>(tag)]->Value());
}

void TFormMusicProperty::DialEdit201Change(int tag)
{
    if (!Editing())
        return;
    FMuprop->GetTrack(tag).SetPan(DialEdit20x[static_cast<std::size_t>(tag)]->Value());
}

void TFormMusicProperty::DialEdit301Change(int tag)
{
    if (!Editing())
        return;
    FMuprop->GetTrack(tag).SetReverb(DialEdit30x[static_cast<std::size_t>(tag)]->Value());
}

void TFormMusicProperty::DialEdit401Change(int tag)
{
    if (!Editing())
        return;
    FMuprop->GetTrack(tag).SetChorus(DialEdit40x[static_cast<std::size_t>(tag)]->Value());
}

void TFormMusicProperty::ComboBoxA1Change(int tag)
{
    if (!Editing())
        return;
    const QComboBox* list = ComboBoxA[static_cast<std::size_t>(tag)];
    const int index = list->currentIndex();
    if (index < 0)
        return;
    FMuprop->SetPatternName(tag, PatternNameAt(tag, index));
}

void TFormMusicProperty::CheckBox1Click()
{
    if (!Editing())
        return;
    FMuprop->SetUse7th(CheckBox1->isChecked() ? 1 : 0);
}

void TFormMusicProperty::CheckBox2Click()
{
    if (!Editing())
        return;
    FMuprop->SetAltSnare(CheckBox2->isChecked() ? 1 : 0);
}

void TFormMusicProperty::CheckBox3Click()
{
    if (!Editing())
        return;
    FMuprop->SetOctaveUp(CheckBox3->isChecked() ? 1 : 0);
}

void TFormMusicProperty::ButtonRandomSetClick()
{
    if (!Editing())
        return;
    // The draws pick among the items the lists hold, "None" included.
    TPatternChoices choices;
    for (std::size_t slot = 0; slot < choices.size(); ++slot)
        for (int i = 0; i < ComboBoxA[slot]->count(); ++i)
            choices[slot].push_back(PatternNameAt(static_cast<int>(slot), i));
    RandomPropertySetting(*FMuprop, choices);
    SetMuprop(FMuprop);
    // Every value of the set has just changed: the song must not be closed unasked.
}

void TFormMusicProperty::UpdatePreviewButton(int slot)
{
    // "None" (the first item) and a pattern the library no longer holds have nothing to play.
    const auto s = static_cast<std::size_t>(slot);
    BitBtn[s]->setEnabled(ComboBoxA[s]->currentIndex() > 0);
}

void TFormMusicProperty::BitBtn1Click(int tag)
{
    if (FMuprop == nullptr || FServices.SongPlayer == nullptr || !FServices.SongPlayer->CanPlay())
        return;
    const TWaitCursor wait;
    try
    {
        FServices.SongPlayer->Play(
            [this, tag](TMidiData& midi) {
                RenderPatternPreview(*FMuprop, tag, midi,
                                     FServices.IncludeReset && FServices.IncludeReset());
            });
    }
    catch (const std::exception& error)
    {
        // No exception may cross the event loop: the failure is shown here, as the main
        // window shows those of its commands.
        if (FServices.MessageBoxes != nullptr)
            FServices.MessageBoxes->ShowDetailed(this, ErrorText(error), ErrorDetails(error),
                                                 TMsgIcon::Error, TMsgButtons::Ok);
    }
}
