// The main window's editing commands: undo and redo; insert, cut, copy, paste and delete a
// unit.
#include "ui/mainform/LyravaneMainForm.h"

#include "model/Munit.h"
#include "model/SongBytes.h"
#include "ui/UnitClipboard.h"
#include "ui/editor/SongPages.h"

#include <QTabBar>
#include <QUndoStack>

#include <string_view>

void TLyravaneMainForm::Action_EditUndoExecute()
{
    if (!MouseCaptured())
        FDocument->History().Stack().undo();
}

void TLyravaneMainForm::Action_EditRedoExecute()
{
    if (!MouseCaptured())
        FDocument->History().Stack().redo();
}

void TLyravaneMainForm::Action_EditNewMunitExecute()
{
    if (TabControl1->count() > MaxTabsForInsert)
        return;
    const int index = CurrentTab();
    FDocument->ReplaceSong([index](TMusicProject& song)
                           { song.Items.Insert(index + 1, std::make_unique<TMunit>()); },
                           index + 1);
}

void TLyravaneMainForm::CopyCurrentUnit()
{
    const TMunit* unit = Project.UnitAt(CurrentTab());
    if (unit == nullptr)
        return;
    const std::string record = ToBytes(*unit);
    FServices.Clipboard->SetUnit(QByteArray(record.data(), static_cast<qsizetype>(record.size())));
}

void TLyravaneMainForm::DeleteCurrentEntry()
{
    const int index = CurrentTab();
    // The properties of the song (tab 0) are never removed.
    if (index <= 0 || index >= Project.Count())
        return;
    // The tab after it takes its place; after the last one, the one before.
    const int remaining = Project.Count() - 1;
    FDocument->ReplaceSong([index](TMusicProject& song) { song.Items.Delete(index); },
                           index < remaining ? index : remaining - 1);
}

void TLyravaneMainForm::Action_EditCopyExecute()
{
    if (CurrentTab() > 0)
        CopyCurrentUnit();
}

void TLyravaneMainForm::Action_EditCutExecute()
{
    if (CurrentTab() <= 0)
        return;
    CopyCurrentUnit();
    DeleteCurrentEntry();
}

void TLyravaneMainForm::Action_EditDeleteExecute()
{
    DeleteCurrentEntry();
}

void TLyravaneMainForm::Action_EditPasteExecute()
{
    if (TabControl1->count() > MaxTabsForInsert)
        return;
    const std::optional<QByteArray> record = FServices.Clipboard->GetUnit();
    if (!record || record->size() < UnitRecordSize)
        return;
    auto unit = std::make_unique<TMunit>();
    // A rejected record reaches the standard handler.
    FromBytes(std::string_view(record->constData(), UnitRecordSize), *unit);
    const int index = CurrentTab();
    FDocument->ReplaceSong([index, &unit](TMusicProject& song)
                           { song.Items.Insert(index + 1, std::move(unit)); },
                           index + 1);
}
