#pragma once

#include <QClipboard>
#include <QLineEdit>

class TDialButton;
class TSpinButton;

/// A numeric entry box holding a whole number within [MinValue, MaxValue], with a dial and
/// two step buttons inside its right edge.
class TDialEdit : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int DefaultWidth = 89;

    explicit TDialEdit(QWidget* parent = nullptr);
    ~TDialEdit() override;

    /// Parses the text (the last valid value when it does not parse), clamps it and remembers it.
    int Value() const;
    /// Clamps value and shows it; an unchanged text raises no Change.
    void SetValue(int value);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }

    TDialButton* DialButton() const { return FDialButton; }
    TSpinButton* UpButton() const { return FUpButton; }
    TSpinButton* DownButton() const { return FDownButton; }

    /// The dial was pressed: the drag is measured from the value shown now.
    virtual void DialStart();
    /// The dial moved pixels up (negative: down) from where it was pressed.
    virtual void DialDrag(int pixels);
    virtual void StepUp();
    virtual void StepDown();

    /// Inserts the clipboard's text at the selection, cut short at its first control character.
    void PasteText(QClipboard::Mode mode = QClipboard::Clipboard);

    QSize sizeHint() const override;

    /// What the field is ("Volumen, Melodía"), its accessible name, and what it means where
    /// the caption does not say. Assistive tools see a spin box with the value.
    void SetAccessibleLabel(const QString& label, const QString& description = QString());

signals:
    /// The text changed (typing, pasting, stepping or SetValue).
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int BoundsLength() const;
    int Clamp(long long value) const;
    void SetBound(int& bound, int value);
    void AddToValue(long long delta);
    void TextChanged();
    void LayoutButtons();
    /// Tells assistive tools the value has changed.
    void NotifyValue();

    int FIncrement = 1;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FDialStartValue = 0;
    mutable int FLastValidValue = 0;
    bool FAutoSelect = true;
    bool FInTextChange = false;
    bool FSettingBounds = false;
    // A click that gave the edit the focus selects all instead of placing the caret.
    bool FSelectOnClick = false;
    bool FClickSwallowed = false;
    TDialButton* FDialButton;
    TSpinButton* FUpButton;
    TSpinButton* FDownButton;
};
