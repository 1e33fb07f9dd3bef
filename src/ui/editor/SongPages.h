#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class TMunit;
class TMuprop;

/// What the pages have in common: every change the user makes runs through the window's edit
/// runner, which makes it one undo step.
class TSongPage : public QWidget
{
public:
    /// Runs edit as one step named step (the name the Edit menu shows); control: a control
    /// whose quick consecutive changes make one step (a dial), or null.
    using TEditRunner = std::function<void(const QString& step, const QObject* control,
                                           const std::function<void()>& edit)>;

    using QWidget::QWidget;
    void SetEditRunner(TEditRunner runner) { FEditRunner = std::move(runner); }
    /// Where the keyboard enters the page from the tab bar (Down); null: the first control
    /// in the tab order.
    virtual QWidget* EntryControl() const { return nullptr; }

protected:
    /// Without a runner the edit just runs.
    void RunEdit(const QString& step, const QObject* control, const std::function<void()>& edit)
    {
        if (FEditRunner)
            FEditRunner(step, control, edit);
        else
            edit();
    }

private:
    TEditRunner FEditRunner;
};

/// The page of the "Composition" tab: edits a property set in place, each change through the
/// edit runner.
class TPropertyPage : public TSongPage
{
public:
    using TSongPage::TSongPage;
    /// Shows (and from now on edits) the property set; not owned. Null: shows nothing; the
    /// window passes it before it frees the entry shown. Showing never marks the song modified.
    virtual void SetMuprop(TMuprop* muprop) = 0;
    /// Fills the pattern lists again from the libraries, which have grown, keeping the
    /// choices shown.
    virtual void ReloadPatternLists() {}
};

/// The page of a unit tab, the bar editor: edits a unit in place, each change through the edit
/// runner.
class TUnitPage : public TSongPage
{
public:
    using TSongPage::TSongPage;
    /// Shows (and from now on edits) the unit; not owned. Null: shows nothing; the window
    /// passes it before it frees the unit shown. Showing never marks the song modified.
    virtual void ShowUnit(TMunit* unit) = 0;
    /// The play cursor over the unit shown, in bars from its start (2.5: halfway through the
    /// third bar); below 0: none. A page without a cursor ignores it.
    virtual void ShowPlayCursor(double /*bars*/) {}
};
