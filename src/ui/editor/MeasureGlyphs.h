#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

#include <vector>

class QPainter;

/// The bar editor's image list: 69 glyphs of 16 x 16 (logical) pixels, painted from shapes and text
/// when first used. The indices and the colours of the pitch classes are fixed; the
/// art is ours.
class TMeasureGlyphs
{
public:
    static constexpr int Size = 16;
    static constexpr int OctaveUpBase = 0;       ///< + pitch class; art in the lower half
    static constexpr int NoteNameBase = 12;      ///< + pitch class: Do .. Si
    static constexpr int OctaveDownBase = 24;    ///< + pitch class; art in the upper half
    static constexpr int HoldBase = 36;          ///< + pitch class
    static constexpr int MajorChordBase = 48;    ///< + degree - 1, numerals in the major scale
    static constexpr int MinorChordBase = 54;    ///< + degree - 1, numerals in the minor scale
    static constexpr int SelectedChordBase = 60; ///< + degree - 1, on the highlight colour
    static constexpr int RhythmOnsetGlyph = 66;
    static constexpr int RhythmRestGlyph = 67;
    static constexpr int RhythmHoldGlyph = 68;
    static constexpr int Count = 69;

    /// ratio: device pixels per logical pixel of the screen the glyphs are shown on; the
    /// glyphs keep their 16 x 16 logical size.
    explicit TMeasureGlyphs(qreal ratio = 1);

    int Width() const { return Size; }
    int Height() const { return Size; }
    /// The glyph at index; a null pixmap outside 0..Count - 1.
    QPixmap Glyph(int index) const;
    /// Draws glyph index with its top-left corner at (x, y); nothing for an index outside.
    void Draw(QPainter& painter, int x, int y, int index) const;

    /// Red, yellow, green, blue, cyan, magenta or grey, by pitch class 0..11 (two classes
    /// share a colour, except 4 and 11).
    static QColor PitchClassColor(int pitchClass);
    /// The play cursor's red, over the rows and on the song overview's playing bar.
    static QColor PlayCursorColor();
    /// Do, Do♯, Re, ... Si.
    static QString NoteName(int pitchClass);
    /// I .. VI for degrees 1..6.
    static QString ChordNumeral(int degree);

private:
    QPixmap Make(int index) const;

    qreal FRatio;
    mutable std::vector<QPixmap> FGlyphs;
};
