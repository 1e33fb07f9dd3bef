#pragma once

#include <QWidget>

#include <functional>

/// The dial at the right edge of a dial edit: held and dragged up or down, it reports how far
/// the pointer has moved from where it was pressed.
class TDialButton : public QWidget
{
    Q_OBJECT

public:
    explicit TDialButton(QWidget* parent);

    /// Called when the left button goes down on the dial.
    std::function<void()> OnPress;
    /// Called while held with (screen y at the press − current screen y): up is positive.
    std::function<void(int pixels)> OnDrag;

    bool Pressed() const { return FPressed; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool FPressed = false;
    int FPressY = 0;
};
