#pragma once

#include <QByteArray>
#include <QObject>

#include <optional>

/// The clipboard as the editing commands use it: one music unit as its 256-byte record.
/// The windows reach it through this, so tests never touch the desktop's clipboard.
class TUnitClipboard
{
public:
    virtual ~TUnitClipboard() = default;
    /// Whether the clipboard holds data of the unit format; asked every time the program is
    /// idle, so it must be cheap.
    virtual bool HasUnit() const = 0;
    /// Empties the clipboard and puts record on it.
    virtual void SetUnit(const QByteArray& record) = 0;
    /// The data of the unit format, nothing when there is none.
    virtual std::optional<QByteArray> GetUnit() const = 0;
};

/// The desktop's clipboard under the private MIME type of the unit record.
class TQtUnitClipboard : public QObject, public TUnitClipboard
{
    Q_OBJECT

public:
    static constexpr const char* MimeType = "application/x-lyravane-unit";

    explicit TQtUnitClipboard(QObject* parent = nullptr);

    bool HasUnit() const override;
    void SetUnit(const QByteArray& record) override;
    std::optional<QByteArray> GetUnit() const override;

private:
    void ClipboardChanged();

    // Asking the clipboard owner for its formats costs a round trip on X11, so the answer
    // is kept until the clipboard says it changed.
    mutable std::optional<bool> FHasUnit;
};
