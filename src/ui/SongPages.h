#pragma once

#include <QWidget>

class TMunit;
class TMuprop;
class TMusicProject;

/// The page of the "Composition" tab: edits a property set in place and sets the song's
/// modified flag itself when the user changes something.
class TPropertyPage : public QWidget
{
public:
    using QWidget::QWidget;
    /// Shows (and from now on edits) the property set; not owned. Null: shows nothing; the
    /// window passes it before it frees the entry shown. Showing never marks the song modified.
    virtual void SetMuprop(TMuprop* muprop) = 0;
};

/// The page of a unit tab, the bar editor: edits a unit in place and sets the song's modified
/// flag itself.
class TUnitPage : public QWidget
{
public:
    using QWidget::QWidget;
    /// The song whose modified flag the page sets; not owned.
    virtual void SetSong(TMusicProject* song) = 0;
    /// Shows (and from now on edits) the unit; not owned. Null: shows nothing; the window
    /// passes it before it frees the unit shown. Showing never marks the song modified.
    virtual void ShowUnit(TMunit* unit) = 0;
};
