#include "ui/UnitClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

TQtUnitClipboard::TQtUnitClipboard(QObject* parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TQtUnitClipboard::ClipboardChanged);
}

void TQtUnitClipboard::ClipboardChanged()
{
    FHasUnit.reset();
}

bool TQtUnitClipboard::HasUnit() const
{
    if (!FHasUnit)
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        FHasUnit = data != nullptr && data->hasFormat(QString::fromLatin1(MimeType));
    }
    return *FHasUnit;
}

void TQtUnitClipboard::SetUnit(const QByteArray& record)
{
    auto* data = new QMimeData; // the clipboard takes it over
    data->setData(QString::fromLatin1(MimeType), record);
    QGuiApplication::clipboard()->setMimeData(data);
    FHasUnit.reset();
}

std::optional<QByteArray> TQtUnitClipboard::GetUnit() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(MimeType)))
        return std::nullopt;
    return data->data(QString::fromLatin1(MimeType));
}
