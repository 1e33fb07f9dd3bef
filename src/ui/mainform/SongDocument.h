#pragma once

#include "model/MusicProject.h"
#include "ui/SongHistory.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QTimer;
class TSongRecovery;

/// The song the window edits: the live song with its file name, its undo history (the one
/// owner of the song's modified flag) and its recovery file. Whatever puts another song in
/// place (New, Open, Revert, a recent or dropped file, a recovered song, undo and redo) goes
/// through ReplaceSong, which lets the pages go of the old entries first and shows the new
/// song after; so do the commands that insert or remove entries.
class TSongDocument : public QObject
{
    Q_OBJECT

public:
    /// recoveryDir: the recovery files' folder (empty: the data folder's); currentTab: the tab
    /// shown, which undo steps remember.
    TSongDocument(const QString& recoveryDir, int recoveryIntervalSeconds,
                  std::function<int()> currentTab, QObject* parent = nullptr);
    /// A normal end: the unsaved changes were meant to go with the recovery file.
    ~TSongDocument() override;

    TMusicProject& Song() { return FSong; }
    const TMusicProject& Song() const { return FSong; }
    bool Modified() const { return FSong.Modified; }
    /// Neither opened from nor saved to a file since start or New.
    bool Untitled() const { return FSong.FileName.empty(); }
    /// The song's file name as the caption and the prompts show it: its name part, or
    /// "Untitled".
    QString DisplayName() const;
    TSongHistory& History() { return *FHistory; }

    /// Puts another song in place, or changes its entries: change makes it (on the song the
    /// pages have let go of), then the tabs are built anew and show tab.
    void ReplaceSong(const std::function<void(TMusicProject&)>& change, int tab = 0);
    /// A new song of one unit, untitled.
    void NewSong();
    /// Reads a project file and puts it in place, saved as it is; a file that cannot be read
    /// raises (EFOpenError, or EReadError and the like for a damaged one) and the song stays.
    void Open(const std::string& fsPath);
    /// Writes the song to fsPath, which becomes its file, and marks it saved; a failure
    /// raises EFCreateError and changes nothing.
    void Save(const std::string& fsPath);
    /// Runs an edit of the song as one undo step (see TSongHistory::Edit).
    void Edit(const QString& step, const QObject* control, const std::function<void()>& edit);

    /// At start: takes over the song a copy that ended without saving left behind, when ask
    /// says so (given the song's file name, empty for a new song, and when the copy was
    /// written); an unreadable one is set aside and told of with its new path.
    void
    OfferRecovery(const std::function<bool(const QString& fileName, const QDateTime& madeAt)>& ask,
                  const std::function<void(const QString& aside)>& tellUnreadable);
    /// Removes the recovery file: the unsaved changes are meant to go.
    void DiscardRecovery();
    TSongRecovery& Recovery() { return *FRecovery; }
    /// Writes the recovery file a while after a change (tests shorten its interval).
    QTimer* RecoveryTimer() const { return FRecoveryTimer; }

signals:
    /// The song is about to be replaced: whoever shows its entries lets go of them.
    void AboutToReplace();
    /// Another song is in place; tab is the one to show.
    void Replaced(int tab);
    /// The song changed or its saved state did (an edit, undo, redo, a save).
    void Changed();
    /// The recovery file could not be written; tried again after the next change.
    void RecoveryNotWritten(const QString& reason);

private:
    /// Starts the recovery timer after a change; an unmodified song has no recovery file.
    void ScheduleRecovery();
    void WriteRecovery();

    TMusicProject FSong;
    std::unique_ptr<TSongHistory> FHistory;
    std::unique_ptr<TSongRecovery> FRecovery;
    QTimer* FRecoveryTimer = nullptr;
    /// The history's revision the recovery file holds; none: nothing up to date.
    std::optional<unsigned> FRecoveredRevision = 0;
};
