#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// CRC-32 (the polynomial of zip files) of data.
std::uint32_t Crc32(std::string_view data);

/// A compressed MusicXML file (.mxl): a zip archive holding the "mimetype" entry first
/// (stored, as readers expect), then, deflated, META-INF/container.xml naming the score, and the
/// score under innerName. A fixed date keeps the bytes the same for the same score. Raises
/// ELyravaneError when the score is too large for a zip archive without extensions.
std::string MakeMxlContainer(const std::string& musicXml, const std::string& innerName);

/// The score document for fileName: a zip container when the name ends in ".mxl" (any
/// case), else the MusicXML text itself.
std::string ScoreFileBytes(const std::string& musicXml, const std::string& fileName);
