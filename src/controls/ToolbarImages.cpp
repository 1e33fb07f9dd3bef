#include "controls/ToolbarImages.h"

#include <array>
#include <cstddef>

namespace
{

// The images as pixel maps, 16 rows of 16 characters each, top to bottom in strip order.
// '.' is the background: magenta, which the image list takes as transparent.
constexpr std::array<const char*, ToolbarImageCount* ToolbarImageSize> ImageRows = {
    // New
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwwwwwwwkwwk..",
    "..kwwwwwwwkkkkk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "..kkkkkkkkkkkkk.",
    "................",
    // Open
    "................",
    "................",
    ".kkkkk..........",
    "kYYYYYk.........",
    "kYYYYYYkkkkkkkk.",
    "kYYYYYYYYYYYYYk.",
    "kYYYYYYYYYYYYYk.",
    "kYYYkkkkkkkkkkkk",
    "kYYkyyyyyyyyyyyk",
    "kYYkyyyyyyyyyyk.",
    "kYkyyyyyyyyyyyk.",
    "kYkyyyyyyyyyyk..",
    "kkyyyyyyyyyyyk..",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
    // Save
    "................",
    ".kkkkkkkkkkkkkk.",
    ".knwwwwwwwwwwnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggggwnk.",
    ".knwwwwwwwwwwnk.",
    ".knwggggggggwnk.",
    ".knwwwwwwwwwwnk.",
    ".knnnnnnnnnnnnk.",
    ".knnllllllllnnk.",
    ".knnlnnlllllnnk.",
    ".knnlnnlllllnnk.",
    ".knnlnnlllllnnk.",
    ".knnllllllllnnk.",
    "..kkkkkkkkkkkkk.",
    "................",
    // Revert
    "................",
    "................",
    ".....bbbbbb.....",
    "...bbbbbbbbbb...",
    "..bbbb....bbbb..",
    ".bbb........bbb.",
    ".bbb.........bb.",
    "bbbbbb.......bb.",
    ".bbbb........bb.",
    "..bb.........bb.",
    ".............bb.",
    "............bbb.",
    "....bb....bbbb..",
    "....bbbbbbbbb...",
    ".....bbbbbbb....",
    "................",
    // Cut
    "................",
    "...k........k...",
    "...k........k...",
    "...kk......kk...",
    "....k......k....",
    "....kk....kk....",
    ".....k....k.....",
    ".....kk..kk.....",
    "......kkkk......",
    ".......kk.......",
    "......m..m......",
    "..mmmmm..mmmmm..",
    ".m...m....m...m.",
    ".m...m....m...m.",
    "..mmm......mmm..",
    "................",
    // Copy
    "kkkkkkkkkk......",
    "kwwwwwwwwk......",
    "kwwwwwwwwk......",
    "kwggggggwk......",
    "kwwwwwkkkkkkkkkk",
    "kwggggkwwwwwwwwk",
    "kwwwwwkwwwwwwwwk",
    "kwggggkwggggggwk",
    "kwwwwwkwwwwwwwwk",
    "kwggggkwggggggwk",
    "kwwwwwkwwwwwwwwk",
    "kkkkkkkwggggggwk",
    "......kwwwwwwwwk",
    "......kwggggggwk",
    "......kwwwwwwwwk",
    "......kkkkkkkkkk",
    // Paste
    "......kkk.......",
    ".....kkkkk......",
    ".kkkkklllkkkkk..",
    ".koooklllkoook..",
    ".kokkkkkkkkkok..",
    ".kokwwwwwwwkok..",
    ".kokwwwwwwwkok..",
    ".kokwgggggwkok..",
    ".kokwwwwwwwkok..",
    ".kokwgggggwkok..",
    ".kokwwwwwwwkok..",
    ".kokwgggggwkok..",
    ".kokwwwwwwwkok..",
    ".kokwwwwwwwkok..",
    ".kokkkkkkkkkok..",
    ".kkkkkkkkkkkkk..",
    // Insert
    ".kkkkkkkkkkk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwwk....",
    ".kwwwwwwwwkkkk..",
    ".kwwwwwwwwkGGk..",
    ".kwwwwwwkkkGGkkk",
    ".kwwwwwwkGGGGGGk",
    ".kwwwwwwkGGGGGGk",
    ".kwwwwwwkkkGGkkk",
    ".kkkkkkkkkkGGk..",
    "..........kkkk..",
    "................",
    // Delete
    "................",
    "................",
    ".rrr........rrr.",
    "..rrr......rrr..",
    "...rrr....rrr...",
    "....rrr..rrr....",
    ".....rrrrrr.....",
    "......rrrr......",
    "......rrrr......",
    ".....rrrrrr.....",
    "....rrr..rrr....",
    "...rrr....rrr...",
    "..rrr......rrr..",
    "................",
    "................",
    "................",
    // PlaySong
    "................",
    "................",
    "....d...........",
    "....dGd.........",
    "....dGGGd.......",
    "....dGGGGGd.....",
    "....dGGGGGGGd...",
    "....dGGGGGGGGGd.",
    "....dGGGGGGGGGGG",
    "....dGGGGGGGGGd.",
    "....dGGGGGGGd...",
    "....dGGGGGd.....",
    "....dGGGd.......",
    "....dGd.........",
    "....d...........",
    "................",
    // PlayUnit
    "................",
    "................",
    "d...............",
    "dd....kkkkkkkkkk",
    "dGd..........k.k",
    "dGGd..kkkkkkkkkk",
    "dGGGd........k.k",
    "dGGGGd.kkkkkkkkk",
    "dGGGGGd....kkk.k",
    "dGGGGd.kkkkkkkkk",
    "dGGGd..........k",
    "dGGd..kkkkkkkkkk",
    "dGd.............",
    "dd..............",
    "d...............",
    "................",
    // Stop
    "................",
    "................",
    "................",
    "...kkkkkkkkkk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...knnnnnnnnk...",
    "...kkkkkkkkkk...",
    "................",
    "................",
    "................",
    // ExportMidi
    ".kkkkkkkkkkkk...",
    ".kwwwwwwwwwwk...",
    ".kwwwwwwwwwwk...",
    ".kwwwwwkwwwwk...",
    ".kwwwwwkkwwwk...",
    ".kwwwwwkwkwwk...",
    ".kwwwwwkwkwwk...",
    ".kwwwwwkwwwwk...",
    ".kwwwkkkwwwwk...",
    ".kwwkkkkwwwwr...",
    ".kwwkkkwwwwwrr..",
    ".kwwwwwwwrrrrrr.",
    ".kwwwwwwwrrrrrr.",
    ".kwwwwwwwwwwrr..",
    ".kkkkkkkkkkkr...",
    "................",
    // Options
    "................",
    "......kkkk......",
    "..kk..kllk..kk..",
    ".kllk.kllk.kllk.",
    ".klllkkllkklllk.",
    "..kllllllllllk..",
    "kkkllllkkllllkkk",
    "klllllk..klllllk",
    "klllllk..klllllk",
    "kkkllllkkllllkkk",
    "..kllllllllllk..",
    ".klllkkllkklllk.",
    ".kllk.kllk.kllk.",
    "..kk..kllk..kk..",
    "......kkkk......",
    "................",
    // Help
    "................",
    ".....bbbbbb.....",
    "....bbbbbbbb....",
    "...bbb....bbb...",
    "...bbb....bbb...",
    "..........bbb...",
    ".........bbb....",
    "........bbb.....",
    ".......bbb......",
    "......bbb.......",
    "......bbb.......",
    "................",
    "......bbb.......",
    "......bbb.......",
    "................",
    "................",
    // About
    "................",
    "....bbbbbbbb....",
    "...bbbbbbbbbb...",
    "..bbbbbwwbbbbb..",
    ".bbbbbbwwbbbbbb.",
    ".bbbbbbbbbbbbbb.",
    ".bbbbbwwwbbbbbb.",
    ".bbbbbbwwbbbbbb.",
    ".bbbbbbwwbbbbbb.",
    ".bbbbbbwwbbbbbb.",
    ".bbbbbbwwbbbbbb.",
    ".bbbbbbwwbbbbbb.",
    "..bbbbwwwwbbbb..",
    "...bbbbbbbbbb...",
    "....bbbbbbbb....",
    "................",
    // Mixer
    "................",
    "...g....g....g..",
    "...g...kkk...g..",
    "...g...kbk...g..",
    "...g...kkk...g..",
    "..kkk...g....g..",
    "..kbk...g....g..",
    "..kkk...g....g..",
    "...g....g....g..",
    "...g....g...kkk.",
    "...g....g...kbk.",
    "...g....g...kkk.",
    "...g....g....g..",
    "...g....g....g..",
    "...g....g....g..",
    "................",
};

constexpr bool RowsAreWellFormed()
{
    for (const char* row : ImageRows)
    {
        if (row == nullptr)
            return false;
        int length = 0;
        while (row[length] != '\0')
            ++length;
        if (length != ToolbarImageSize)
            return false;
    }
    return true;
}
static_assert(RowsAreWellFormed(), "every image has 16 rows of 16 pixels");

QRgb PaletteColor(char code)
{
    switch (code)
    {
    case 'k':
        return qRgb(0, 0, 0);
    case 'w':
        return qRgb(255, 255, 255);
    case 'g':
        return qRgb(128, 128, 128);
    case 'l':
        return qRgb(192, 192, 192);
    case 'y':
        return qRgb(255, 224, 80);
    case 'Y':
        return qRgb(208, 152, 0);
    case 'b':
        return qRgb(0, 80, 224);
    case 'n':
        return qRgb(0, 0, 128);
    case 'r':
        return qRgb(232, 0, 0);
    case 'm':
        return qRgb(128, 0, 0);
    case 'G':
        return qRgb(0, 184, 0);
    case 'd':
        return qRgb(0, 104, 0);
    case 'o':
        return qRgb(160, 96, 32);
    default:
        return ToolbarTransparentColor;
    }
}

/// Dark enough to survive in the embossed form: outlines and strong colours, not light fills.
bool IsInk(QRgb pixel)
{
    if ((pixel & RGB_MASK) == (ToolbarTransparentColor & RGB_MASK))
        return false;
    return qGray(pixel) < 160;
}

} // namespace

QImage ToolbarImageStrip()
{
    QImage strip(ToolbarImageSize, ToolbarImageSize * ToolbarImageCount, QImage::Format_RGB32);
    for (int y = 0; y < strip.height(); ++y)
    {
        const char* row = ImageRows[static_cast<std::size_t>(y)];
        for (int x = 0; x < ToolbarImageSize; ++x)
            strip.setPixel(x, y, PaletteColor(row[x]));
    }
    return strip;
}

QImage ToolbarDisabledImageStrip()
{
    const QImage normal = ToolbarImageStrip();
    QImage strip(normal.size(), QImage::Format_RGB32);
    strip.fill(ToolbarTransparentColor);
    // Each image on its own: the highlight must not spill into the next image of the strip.
    for (int image = 0; image < ToolbarImageCount; ++image)
    {
        const int top = image * ToolbarImageSize;
        for (int pass = 0; pass < 2; ++pass)
        {
            const int shift = pass == 0 ? 1 : 0;
            const QRgb color = pass == 0 ? qRgb(255, 255, 255) : qRgb(128, 128, 128);
            for (int y = 0; y < ToolbarImageSize; ++y)
            {
                for (int x = 0; x < ToolbarImageSize; ++x)
                {
                    if (!IsInk(normal.pixel(x, top + y)))
                        continue;
                    const int tx = x + shift;
                    const int ty = y + shift;
                    if (tx < ToolbarImageSize && ty < ToolbarImageSize)
                        strip.setPixel(tx, top + ty, color);
                }
            }
        }
        // The bottom-left pixel names the transparent colour of the image: keep it background.
        strip.setPixel(0, top + ToolbarImageSize - 1, ToolbarTransparentColor);
    }
    return strip;
}
