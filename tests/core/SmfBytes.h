// Building blocks for hand-made Standard MIDI File bytes in the reader and writer tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

inline std::string UInt32(std::uint32_t v)
{
    return Bytes({static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 0xFF),
                  static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)});
}

inline std::string Header(int format, int tracks, int division)
{
    return "MThd" + UInt32(6) +
           Bytes({format >> 8, format & 0xFF, tracks >> 8, tracks & 0xFF, division >> 8,
                  division & 0xFF});
}

inline std::string Chunk(const std::string& body)
{
    return "MTrk" + UInt32(static_cast<std::uint32_t>(body.size())) + body;
}

inline const std::string EndOfTrack = Bytes({0x00, 0xFF, 0x2F, 0x00});
