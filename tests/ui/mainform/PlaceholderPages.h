#pragma once

#include "ui/editor/SongPages.h"

class QLabel;

/// A light stand-in for the property page in the main window tests: shows a property set as text.
class TPlaceholderPropertyPage : public TPropertyPage
{
public:
    explicit TPlaceholderPropertyPage(QWidget* parent = nullptr);
    void SetMuprop(TMuprop* muprop) override;
    void ReloadPatternLists() override { ++Reloads; }
    TMuprop* Muprop() const { return FMuprop; }
    int Reloads = 0;

private:
    TMuprop* FMuprop = nullptr; // not owned
    QLabel* FText;
};

/// A light stand-in for the bar editor in the main window tests: shows a unit as text.
class TPlaceholderUnitPage : public TUnitPage
{
public:
    explicit TPlaceholderUnitPage(QWidget* parent = nullptr);
    void ShowUnit(TMunit* unit) override;
    TMunit* Unit() const { return FUnit; }
    void ShowPlayCursor(double bars) override { PlayCursor = bars; }
    /// What the window last gave ShowPlayCursor.
    double PlayCursor = -1;

private:
    TMunit* FUnit = nullptr; // not owned
    QLabel* FText;
};
