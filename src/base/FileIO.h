#pragma once

#include <string>

/// Reads a whole file; a file that cannot be opened or read raises EFOpenError.
std::string ReadWholeFile(const std::string& path);

/// Writes data to a temporary file in the target's directory and renames it over the
/// target only when every byte is on disk, so a failed write leaves the old file as it was.
/// Failures raise EFCreateError naming the target and the system's reason.
void WriteFileAtomically(const std::string& path, const std::string& data);

/// Directory of the running executable (no trailing separator); empty when unknown.
std::string ExecutableDir();
