#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

/// Little-endian fields of the project file's records.
void PutInt32LE(std::uint8_t* p, std::int32_t value);
std::int32_t GetInt32LE(const std::uint8_t* p);

/// Big-endian fields of Standard MIDI Files.
void PutUInt32BE(std::uint8_t* p, std::uint32_t value);
std::uint32_t GetUInt32BE(const std::uint8_t* p);
std::uint16_t GetUInt16BE(const std::uint8_t* p);

/// Reads exactly size bytes or raises EReadError.
void ReadExact(std::istream& stream, void* buffer, std::size_t size);

/// Writes size bytes or raises EWriteError.
void WriteExact(std::ostream& stream, const void* buffer, std::size_t size);
