#pragma once

#include "controls/MenuButton.h"
#include "model/Munit.h"
#include "ui/editor/SongPages.h"
#include "ui/mainform/LyravaneMainForm.h"

#include <QAction>
#include <QMenu>

#include <stdexcept>
#include <string>

// The window's parts as the user meets them: its commands, menus and tool bar buttons by their
// object names, its pages, and the song of its document.

/// The window's child of that object name and type; one it lacks fails the test.
template <class T> T* Named(QWidget& form, const QString& name)
{
    if (T* child = dynamic_cast<T*>(form.findChild<QObject*>(name)))
        return child;
    throw std::logic_error("the window has no " + name.toStdString());
}

/// A command by its object name ("Action_FileNew").
inline QAction* Action(QWidget& form, const char* name)
{
    return Named<QAction>(form, QString::fromLatin1(name));
}

/// A menu of the menu bar ("MenuFile").
inline QMenu* Menu(QWidget& form, const char* name)
{
    return Named<QMenu>(form, QString::fromLatin1(name));
}

/// The tool bar button of the command named actionName; null when it has none.
inline TMenuButton* ToolButton(QWidget& form, const char* actionName)
{
    return form.findChild<TMenuButton*>(QStringLiteral("ToolButton_") +
                                        QString::fromLatin1(actionName));
}

/// Where the pages sit.
inline QWidget* PagePanel(QWidget& form)
{
    return Named<QWidget>(form, QStringLiteral("PagePanel"));
}

/// The "Composition" tab's page.
inline TPropertyPage* PropertyPage(QWidget& form)
{
    return Named<TPropertyPage>(form, QStringLiteral("FormMusicProperty"));
}

/// The unit tabs' page, the bar editor.
inline TUnitPage* BarEditor(QWidget& form)
{
    return Named<TUnitPage>(form, QStringLiteral("FormMusicMeasures"));
}

inline TMusicProject& Song(TLyravaneMainForm& form)
{
    return form.Document().Song();
}

/// The title bar's text.
inline std::string Caption(const QWidget& form)
{
    return form.windowTitle().toStdString();
}

/// Gives the song that many entries, new units at its end or its last entries gone, through
/// the document as the edit commands change entries: the tabs are built anew.
inline void ResizeSong(TLyravaneMainForm& form, int entries)
{
    form.Document().ReplaceSong(
        [entries](TMusicProject& song)
        {
            while (song.Count() < entries)
                song.Items.Add(std::make_unique<TMunit>());
            while (song.Count() > entries)
                song.Items.Delete(song.Count() - 1);
        });
}
