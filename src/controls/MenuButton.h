#pragma once

#include "controls/ImageListEx.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class QAction;
class TMenuButtonActionLink;

/// A tool bar button that draws one image of an image list, lights up under the mouse when
/// flat, shows pressed and latched states, and runs its bound action or drops down a menu.
class TMenuButton : public QWidget
{
    Q_OBJECT

public:
    enum class TState : std::uint8_t
    {
        Up = 0,
        Disabled = 1,
        Pressed = 2,
        Latched = 3
    };

    static constexpr int DefaultWidth = 23;
    static constexpr int DefaultHeight = 22;

    explicit TMenuButton(QWidget* parent = nullptr);
    ~TMenuButton() override;

    /// Latched: the button stays pressed.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    /// No frame until the mouse is over the button.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    /// When flat and not lit, nothing is painted behind the image.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TImageListEx* Images() const { return FImages; }
    void SetImages(TImageListEx* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    /// A menu shown below the button instead of a click; not owned.
    QMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(QMenu* value);

    /// Binds a command: the button follows its enabled, visible, tool tip, status tip, checked
    /// state and image index, and a click triggers it. nullptr unbinds.
    void SetAction(QAction* action);
    QAction* Action() const;

    TState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    bool Tracking() const { return FTracking; }

    /// What a click does, when the button is enabled: for the keyboard and assistive tools.
    void Press();
    /// Re-evaluates whether the mouse is over the button (before a modal dialog opens).
    void UpdateHover();

    QSize sizeHint() const override;

signals:
    /// The button was clicked (the bound action is triggered through this).
    void Click();
    /// Double click on a latched button.
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RunClick();
    void SyncStateWithEnabled();

    bool FDown = false;
    bool FFlat = false;
    bool FTransparent = true;
    QPointer<TImageListEx> FImages; // not owned
    int FImageIndex = -1;
    QPointer<QMenu> FDropdownMenu; // not owned
    TState FState = TState::Up;
    bool FMouseInControl = false;
    bool FTracking = false;
    std::unique_ptr<TMenuButtonActionLink> FActionLink;
};
