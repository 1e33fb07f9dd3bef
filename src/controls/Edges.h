#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QPalette;
class QWidget;

/// Draws width one-pixel rings inside rect, topLeft colour on the top and left sides,
/// bottomRight colour on the bottom and right sides (which also take the two off-diagonal
/// corners); rect ends up as the area inside the rings.
void DrawFrame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
                 int width);

/// The two-pixel raised edge of a small button (light outer ring, highlight inner ring).
void DrawRaisedEdge(QPainter& painter, const QRect& rect, const QPalette& palette);

/// One-pixel raised line: highlight on top and left, shadow on bottom and right.
void DrawRaisedInner(QPainter& painter, const QRect& rect, const QPalette& palette);

/// One-pixel sunken line: shadow on top and left, highlight on bottom and right.
void DrawSunkenOuter(QPainter& painter, const QRect& rect, const QPalette& palette);

/// The face of a small button inside an edit: a dark one-pixel frame when pressed, the raised
/// edge when not, filled with the button colour.
void DrawButtonFace(QPainter& painter, const QRect& rect, const QPalette& palette, bool pressed);

/// A small button inside an edit hands the edit the focus when pressed, as a click on the
/// edit itself would.
void FocusOwnerEdit(QWidget* button);

/// The glyph colour of a small button inside an edit: greyed while the edit is disabled.
QColor ButtonGlyphColor(const QWidget* button);
