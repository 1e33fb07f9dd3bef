#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

// Fixed-size integer fields in byte buffers. Inline: the WAV writer stores every sample
// through them.

/// Little-endian fields: the project file's records, WAV headers and samples, the saved
/// window placement.
inline void PutUInt16LE(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutUInt32LE(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void PutInt32LE(std::uint8_t* p, std::int32_t value)
{
    PutUInt32LE(p, static_cast<std::uint32_t>(value));
}

inline std::int32_t GetInt32LE(const std::uint8_t* p)
{
    const std::uint32_t v =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

/// Big-endian fields of Standard MIDI Files.
inline void PutUInt16BE(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

inline void PutUInt32BE(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

inline std::uint16_t GetUInt16BE(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t GetUInt32BE(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

/// Reads exactly size bytes or raises EReadError.
void ReadExact(std::istream& stream, void* buffer, std::size_t size);

/// Writes size bytes or raises EWriteError.
void WriteExact(std::ostream& stream, const void* buffer, std::size_t size);
