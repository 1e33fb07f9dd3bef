#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

enum class TSpinDirection
{
    Up,
    Down
};

/// A step button of a dial edit: fires once when pressed, again after 400 ms and then every
/// 100 ms while it is held.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FirstRepeatMs = 400;
    static constexpr int RepeatMs = 100;

    TSpinButton(TSpinDirection direction, QWidget* parent);

    /// Called at the press and at every repeat.
    std::function<void()> OnFire;

    TSpinDirection Direction() const { return FDirection; }
    bool Pressed() const { return FPressed; }
    /// Active only while the button is held.
    const QTimer& RepeatTimer() const { return FRepeatTimer; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RepeatTick();
    void Release();

    TSpinDirection FDirection;
    bool FPressed = false;
    QTimer FRepeatTimer;
};
