#pragma once

#include <QWidget>

/// The etched vertical line between groups of tool bar buttons.
class TSpeedDivider : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DefaultWidth = 8;
    static constexpr int DefaultHeight = 50;

    explicit TSpeedDivider(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
