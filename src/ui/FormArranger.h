#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

/// The window-placement record as stored: 44 bytes, eleven little-endian 32-bit fields.
struct TWindowPlacement
{
    static constexpr int Size = 44;
    static constexpr std::int32_t ShowNormal = 1;
    static constexpr std::int32_t ShowMinimized = 2;
    static constexpr std::int32_t ShowMaximized = 3;

    std::int32_t Length = Size;
    std::int32_t Flags = 0;
    std::int32_t ShowCmd = ShowNormal;
    std::int32_t MinX = -1;
    std::int32_t MinY = -1;
    std::int32_t MaxX = -1;
    std::int32_t MaxY = -1;
    /// The restored window's outer rectangle in screen coordinates.
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    QByteArray ToBytes() const;
    /// Nothing unless data is exactly 44 bytes.
    static std::optional<TWindowPlacement> FromBytes(const QByteArray& data);
};

/// Keeps a window's placement in the settings: written once at exit, applied once at start,
/// under the value named after the window followed by "_Placement".
class TFormArranger
{
public:
    /// owner: the window whose placement is kept (not owned); componentName: its name in
    /// the value name; settingsPath: see OpenLyravaneSettings.
    TFormArranger(QWidget* owner, QString componentName, QString settingsPath = {});

    /// Applies the stored placement (position and, with applyShowState, the minimised or
    /// maximised state). Returns the show command applied, nothing when none was stored.
    std::optional<std::int32_t> RestorePlacement(bool applyShowState);
    void SavePlacement();
    /// The owner's placement now.
    TWindowPlacement CurrentPlacement() const;
    QString ValueName() const { return FComponentName + QStringLiteral("_Placement"); }

private:
    QWidget* FOwner; // not owned
    QString FComponentName;
    QString FSettingsPath;
};
