// The main window's editing commands: undo and redo; insert, cut, copy, paste and delete a
// unit.
#include "ui/mainform/LyravaneMainForm.h"

#include "model/Munit.h"
#include "ui/UnitClipboard.h"
#include "ui/editor/SongPages.h"

#include <QTabBar>
#include <QUndoStack>

#include <sstream>

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
    Project.Items.Insert(index + 1, std::make_unique<TMunit>());
    RebuildTabs();
    SelectTab(index + 1);
    TabControl1Change();
}

void TLyravaneMainForm::CopyCurrentUnit()
{
    const TMunit* unit = Project.UnitAt(CurrentTab());
    if (unit == nullptr)
        return;
    std::ostringstream stream(std::ios::binary);
    unit->WriteToStream(stream);
    const std::string record = stream.str();
    FServices.Clipboard->SetUnit(QByteArray(record.data(), static_cast<qsizetype>(record.size())));
}

void TLyravaneMainForm::DeleteCurrentEntry()
{
    const int index = CurrentTab();
    // The properties of the song (tab 0) are never removed.
    if (index <= 0 || index >= Project.Count())
        return;
    PropertyPage->SetMuprop(nullptr);
    BarEditor->ShowUnit(nullptr);
    Project.Items.Delete(index);
    RebuildTabs();
    SelectTab(index < TabControl1->count() ? index : TabControl1->count() - 1);
    TabControl1Change();
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
    std::istringstream stream(std::string(record->constData(), UnitRecordSize), std::ios::binary);
    auto unit = std::make_unique<TMunit>();
    unit->ReadFromStream(stream); // a rejected record reaches the standard handler
    const int index = CurrentTab();
    Project.Items.Insert(index + 1, std::move(unit));
    RebuildTabs();
    SelectTab(index + 1);
    TabControl1Change();
}
