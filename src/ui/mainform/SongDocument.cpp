#include "ui/mainform/SongDocument.h"

#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "ui/SongRecovery.h"
#include "ui/WindowUtils.h"

#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>

TSongDocument::TSongDocument(const QString& recoveryDir, int recoveryIntervalSeconds,
                             std::function<int()> currentTab, QObject* parent)
    : QObject(parent)
{
    FHistory = std::make_unique<TSongHistory>(
        FSong, std::move(currentTab),
        [this](const TSongSnapshot& state, int tab)
        { ReplaceSong([&state](TMusicProject& song) { state.Restore(song); }, tab); });
    FRecovery = std::make_unique<TSongRecovery>(recoveryDir);
    FRecoveryTimer = new QTimer(this);
    FRecoveryTimer->setSingleShot(true);
    FRecoveryTimer->setInterval(recoveryIntervalSeconds * 1000);
    connect(FRecoveryTimer, &QTimer::timeout, this, &TSongDocument::WriteRecovery);
    // An edit, undo, redo or a save: whoever shows the song's state and the recovery file
    // follow.
    const auto changed = [this]
    {
        emit Changed();
        ScheduleRecovery();
    };
    connect(&FHistory->Stack(), &QUndoStack::indexChanged, this, changed);
    connect(&FHistory->Stack(), &QUndoStack::cleanChanged, this, changed);
    FSong.NewSong();
}

TSongDocument::~TSongDocument()
{
    disconnect(&FHistory->Stack(), nullptr, this, nullptr);
    DiscardRecovery();
}

QString TSongDocument::DisplayName() const
{
    return Untitled() ? tr("Untitled") : FileNamePart(FromFsPath(FSong.FileName));
}

void TSongDocument::ReplaceSong(const std::function<void(TMusicProject&)>& change, int tab)
{
    emit AboutToReplace();
    change(FSong);
    emit Replaced(tab);
    emit Changed();
}

void TSongDocument::NewSong()
{
    ReplaceSong(
        [this](TMusicProject& song)
        {
            song.NewSong();
            FHistory->Reset();
        });
}

void TSongDocument::Open(const std::string& fsPath)
{
    // Read into a song of its own: the live one is replaced only by a good file.
    TMusicProject loaded;
    loaded.LoadFromFile(fsPath);
    ReplaceSong(
        [&](TMusicProject& song)
        {
            song.Assign(loaded);
            song.SetFileName(fsPath);
            FHistory->Reset();
        });
}

void TSongDocument::Save(const std::string& fsPath)
{
    // Written through a temporary file: a failed save leaves the old file as it was.
    FSong.SaveToFile(fsPath);
    FSong.SetFileName(fsPath);
    FHistory->MarkSaved();
    DiscardRecovery();
    emit Changed();
}

void TSongDocument::Edit(const QString& step, const QObject* control,
                         const std::function<void()>& edit)
{
    FHistory->Edit(step, control, edit);
}

// --- Recovery ----------------------------------------------------------------------------------

void TSongDocument::OfferRecovery(
    const std::function<bool(const QString& fileName, const QDateTime& madeAt)>& ask,
    const std::function<void(const QString& aside)>& tellUnreadable)
{
    if (!FRecovery->ClaimLeftOver())
        return;
    TMusicProject recovered;
    try
    {
        FRecovery->Read(recovered);
    }
    catch (const std::exception&)
    {
        tellUnreadable(FRecovery->SetAside());
        return;
    }
    if (!ask(FromFsPath(recovered.FileName), QFileInfo(FRecovery->Path()).lastModified()))
    {
        DiscardRecovery();
        return;
    }
    ReplaceSong(
        [&](TMusicProject& song)
        {
            song.Items = std::move(recovered.Items);
            song.SetFileName(recovered.FileName);
            // Recovered, the song still has its unsaved changes: the file stays until they
            // are saved.
            FHistory->Reset();
            FHistory->MarkUnsaved();
            FRecoveredRevision = FHistory->Revision();
        });
}

void TSongDocument::ScheduleRecovery()
{
    if (!FSong.Modified)
    {
        if (FRecovery->Written())
            DiscardRecovery();
        return;
    }
    if (FRecoveredRevision != FHistory->Revision() && !FRecoveryTimer->isActive())
        FRecoveryTimer->start();
}

void TSongDocument::WriteRecovery()
{
    if (!FSong.Modified)
        return;
    const unsigned revision = FHistory->Revision();
    try
    {
        FRecovery->Write(FSong);
        FRecoveredRevision = revision;
    }
    catch (const std::exception& error)
    {
        // Tried again after the next change; a message box every minute would not help.
        emit RecoveryNotWritten(ErrorText(error));
    }
}

void TSongDocument::DiscardRecovery()
{
    FRecoveryTimer->stop();
    FRecovery->Remove();
    FRecoveredRevision.reset();
}
