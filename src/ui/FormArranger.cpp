#include "ui/FormArranger.h"

#include "base/Bytes.h"
#include "ui/Settings.h"

#include <QVariant>
#include <QWidget>

#include <utility>

namespace
{
// Offsets of the eleven fields, 4 bytes each:
//   0 length  4 flags  8 show command  12 min x  16 min y  20 max x  24 max y
//  28 left   32 top   36 right        40 bottom
void PutInt32(QByteArray& data, int offset, std::int32_t value)
{
    PutInt32LE(reinterpret_cast<std::uint8_t*>(data.data()) + offset, value);
}

std::int32_t GetInt32(const QByteArray& data, int offset)
{
    return GetInt32LE(reinterpret_cast<const std::uint8_t*>(data.constData()) + offset);
}
} // namespace

QByteArray TWindowPlacement::ToBytes() const
{
    QByteArray data(Size, '\0');
    const std::int32_t fields[] = {Length, Flags, ShowCmd, MinX,  MinY,  MaxX,
                                   MaxY,   Left,  Top,     Right, Bottom};
    for (int i = 0; i < 11; ++i)
        PutInt32(data, 4 * i, fields[i]);
    return data;
}

std::optional<TWindowPlacement> TWindowPlacement::FromBytes(const QByteArray& data)
{
    if (data.size() != Size)
        return std::nullopt;
    TWindowPlacement p;
    std::int32_t* fields[] = {&p.Length, &p.Flags, &p.ShowCmd, &p.MinX,  &p.MinY,  &p.MaxX,
                              &p.MaxY,   &p.Left,  &p.Top,     &p.Right, &p.Bottom};
    for (int i = 0; i < 11; ++i)
        *fields[i] = GetInt32(data, 4 * i);
    return p;
}

TFormArranger::TFormArranger(QWidget* owner, QString componentName, QString settingsPath)
    : FOwner(owner), FComponentName(std::move(componentName)),
      FSettingsPath(std::move(settingsPath))
{
}

std::optional<std::int32_t> TFormArranger::RestorePlacement(bool applyShowState)
{
    const auto settings = OpenLyravaneSettings(FSettingsPath);
    const QVariant value = settings->value(ValueName());
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    std::optional<TWindowPlacement> placement = TWindowPlacement::FromBytes(value.toByteArray());
    if (!placement)
        return std::nullopt;
    if (!applyShowState)
        placement->ShowCmd = 0;

    // The window's size is its own; only the position of the restored window is taken.
    FOwner->move(placement->Left, placement->Top);
    if (placement->ShowCmd == TWindowPlacement::ShowMinimized)
        FOwner->setWindowState(FOwner->windowState() | Qt::WindowMinimized);
    else if (placement->ShowCmd == TWindowPlacement::ShowMaximized)
        FOwner->setWindowState(FOwner->windowState() | Qt::WindowMaximized);
    return placement->ShowCmd;
}

TWindowPlacement TFormArranger::CurrentPlacement() const
{
    TWindowPlacement p;
    if (FOwner->isMinimized())
        p.ShowCmd = TWindowPlacement::ShowMinimized;
    else if (FOwner->isMaximized())
        p.ShowCmd = TWindowPlacement::ShowMaximized;
    // normalGeometry() is the client area of the restored window; the frame around it comes
    // from the current frame margins.
    const QRect frame = FOwner->frameGeometry();
    const QRect client = FOwner->geometry();
    const QRect normal =
        FOwner->isMinimized() || FOwner->isMaximized() ? FOwner->normalGeometry() : client;
    const QRect outer =
        normal.adjusted(frame.left() - client.left(), frame.top() - client.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    p.Left = outer.left();
    p.Top = outer.top();
    p.Right = outer.left() + outer.width();
    p.Bottom = outer.top() + outer.height();
    return p;
}

void TFormArranger::SavePlacement()
{
    const auto settings = OpenLyravaneSettings(FSettingsPath);
    settings->setValue(ValueName(), CurrentPlacement().ToBytes());
    settings->sync();
}
