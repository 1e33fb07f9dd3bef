#pragma once

#include "controls/ScrollFrameBar.h"

#include <QAbstractScrollArea>

#include <memory>

class QProxyStyle;
class QScrollBar;

/// A surface whose whole content is painted by its owner (signal Paint), with an optional
/// border and two optional scroll bars that only report positions.
class TScrollFrame : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class TBorderStyle
    {
        None,
        Single
    };

    static constexpr int DefaultWidth = 185;
    static constexpr int DefaultHeight = 129;
    static constexpr int FixedBarSize = 16;

    explicit TScrollFrame(QWidget* parent = nullptr);
    ~TScrollFrame() override;

    TScrollFrameBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TScrollFrameBar* VertScrollBar() const { return FVertScrollBar.get(); }

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    /// Scroll bars of a fixed 16-pixel size instead of the style's own.
    bool BarSizeFixed() const { return FBarSizeFixed; }
    void SetBarSizeFixed(bool value);
    /// When set the background is not erased: the Paint handler paints every pixel.
    bool Opaque() const { return FOpaque; }
    void SetOpaque(bool value);
    QColor Color() const;
    void SetColor(const QColor& value);

    /// The painting surface inside the border and the scroll bars.
    int ClientWidth() const;
    int ClientHeight() const;

    QSize sizeHint() const override;
    /// The colour of the single border.
    QColor BorderColor() const;

    /// Called by a bar of this frame after it clamped its fields.
    void ApplyBar(const TScrollFrameBar& bar);
    void ApplyIncrement(const TScrollFrameBar& bar);

signals:
    /// Paint the content: painter draws on the surface; the offsets are the bars' positions.
    void Paint(QPainter* painter);
    /// A scroll position or a bar changed.
    void Change();
    void Resize();
    /// Mouse events on the surface, in its coordinates.
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);
    void Click();
    void DblClick();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QScrollBar* ScrollBarOf(const TScrollFrameBar& bar) const;
    void ScrollAction(TScrollFrameBar& bar, int action);
    void ScrollValueChanged(TScrollFrameBar& bar, int value);
    void ApplyBorder();
    void PaintBorder();
    void ApplyBarSize();

    std::unique_ptr<TScrollFrameBar> FHorzScrollBar;
    std::unique_ptr<TScrollFrameBar> FVertScrollBar;
    TBorderStyle FBorderStyle = TBorderStyle::Single;
    bool FBarSizeFixed = false;
    bool FOpaque = false;
    bool FApplying = false;
    bool FLeftPressed = false;
    QProxyStyle* FFixedBarStyle = nullptr; // owned through the Qt parent
};
