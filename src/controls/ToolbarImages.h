#pragma once

#include <QColor>
#include <QImage>

/// Index of each image in the tool bar strips, in tool bar and menu order.
enum TToolbarImage : int
{
    tiNew = 0,
    tiOpen = 1,
    tiSave = 2,
    tiRevert = 3,
    tiCut = 4,
    tiCopy = 5,
    tiPaste = 6,
    tiInsert = 7,
    tiDelete = 8,
    tiPlaySong = 9,
    tiPlayUnit = 10,
    tiStop = 11,
    tiExportMidi = 12,
    tiOptions = 13,
    tiHelpContents = 14,
    tiAbout = 15,
    tiMixer = 16
};

constexpr int ToolbarImageCount = 17;
constexpr int ToolbarImageSize = 16;
/// Background of every image; also the bottom-left pixel of each one.
constexpr QRgb ToolbarTransparentColor = 0xffff00ffu;

/// The tool bar images as a vertical strip, 16 wide and 16 × 17 high, for TImageListEx::LoadStrip.
QImage ToolbarImageStrip();
/// The same images greyed and embossed, for the disabled list.
QImage ToolbarDisabledImageStrip();
