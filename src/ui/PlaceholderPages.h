#pragma once

#include "ui/SongPages.h"

class QLabel;

/// Shows a property set as text until the property page takes its place.
class TPlaceholderPropertyPage : public TPropertyPage
{
public:
    explicit TPlaceholderPropertyPage(QWidget* parent = nullptr);
    void SetMuprop(TMuprop* muprop) override;
    TMuprop* Muprop() const { return FMuprop; }

private:
    TMuprop* FMuprop = nullptr; // not owned
    QLabel* FText;
};

/// Shows a unit's chords, rhythm and melody as text until the bar editor takes its place.
class TPlaceholderUnitPage : public TUnitPage
{
public:
    explicit TPlaceholderUnitPage(QWidget* parent = nullptr);
    void SetSong(TMusicProject* song) override { FSong = song; }
    void ShowUnit(TMunit* unit) override;
    TMunit* Unit() const { return FUnit; }
    TMusicProject* Song() const { return FSong; }

private:
    TMusicProject* FSong = nullptr; // not owned
    TMunit* FUnit = nullptr;        // not owned
    QLabel* FText;
};
