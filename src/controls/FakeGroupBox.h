#pragma once

#include <QWidget>

/// A panel that paints itself as a group box: an etched frame with the caption set into its
/// top line, the caption embossed when the box is disabled.
class TFakeGroupBox : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CaptionLeft = 8;
    static constexpr int CaptionGap = 2;

    explicit TFakeGroupBox(QWidget* parent = nullptr);
    TFakeGroupBox(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    /// The panel's background colour (the palette's window colour).
    QColor Color() const;
    void SetColor(const QColor& value);

    /// Top of the frame line: half the caption height.
    int FrameTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString FCaption;
    int FBevelWidth = 1;
};
