#pragma once

#include "controls/MenuButton.h"
#include "ui/editor/SongPages.h"
#include "ui/mainform/LyravaneMainForm.h"

#include <QAction>
#include <QMenu>

#include <stdexcept>
#include <string>

// The window's parts as the user meets them: its commands, menus and tool bar buttons by their
// object names, its pages, and the song and history of its document.

/// The window's command of that object name ("Action_FileNew"); a name it lacks fails the test.
inline QAction* Action(QWidget& form, const char* name)
{
    if (auto* action = form.findChild<QAction*>(QString::fromLatin1(name)))
        return action;
    throw std::logic_error(std::string("the window has no action ") + name);
}

/// A menu of the menu bar by its object name ("MenuFile"); null when there is none.
inline QMenu* Menu(QWidget& form, const char* name)
{
    return form.findChild<QMenu*>(QString::fromLatin1(name));
}

/// The tool bar button of the command named actionName; null when it has none.
inline TMenuButton* ToolButton(QWidget& form, const char* actionName)
{
    return form.findChild<TMenuButton*>(QStringLiteral("ToolButton_") +
                                        QString::fromLatin1(actionName));
}

inline QWidget* PagePanel(QWidget& form)
{
    return form.findChild<QWidget*>(QStringLiteral("PagePanel"));
}

/// The "Composition" tab's page and the unit tabs' bar editor.
inline TPropertyPage* PropertyPage(QWidget& form)
{
    return dynamic_cast<TPropertyPage*>(
        form.findChild<QWidget*>(QStringLiteral("FormMusicProperty")));
}

inline TUnitPage* BarEditor(QWidget& form)
{
    return dynamic_cast<TUnitPage*>(form.findChild<QWidget*>(QStringLiteral("FormMusicMeasures")));
}

inline TMusicProject& Song(TLyravaneMainForm& form)
{
    return form.Document().Song();
}
