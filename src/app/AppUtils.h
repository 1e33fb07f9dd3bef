#pragma once

#include <string>

/// The directory of the program file, ending in a separator.
std::string ProgramDir();

/// path with a separator appended unless its last character already is one.
std::string AddTrailingBackslash(const std::string& path);

/// The HTML help: help/lyravane.html beside the program, else in ../share/lyravane/help.
std::string FindHelpFile(const std::string& programDir);
