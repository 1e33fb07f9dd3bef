#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Names in files are byte strings. Valid UTF-8 is read as UTF-8; anything else as
// Shift-JIS (CP932), the code page of pattern sets brought from Windows.

bool IsValidUtf8(std::string_view text);
/// text with each byte that does not begin a well-formed UTF-8 character (a stray byte, an
/// encoded surrogate, an overlong form) replaced by U+FFFD, as a window shows such a name.
std::string ValidUtf8(std::string_view text);

/// Splits text into its characters (byte runs), UTF-8 or Shift-JIS as above.
std::vector<std::string_view> SplitCharacters(std::string_view text);

/// Keeps at most maxChars characters, then drops whole characters from the end until
/// at most maxBytes bytes remain: every name then fits a 64-byte field with its zero.
std::string CutName(std::string_view name, std::size_t maxChars = 64, std::size_t maxBytes = 63);

/// Removes leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view TrimBlanks(std::string_view text);

/// ASCII letter case ignored, every other byte compared as it is.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

/// Whether the file-name part of path ends in "." and extension ("mxl"), case ignored as
/// above.
bool HasExtension(std::string_view path, std::string_view extension);
