#pragma once

#include <string>

/// The directory of the program file, which the program's data is looked up in.
std::string ProgramDir();

/// The HTML help: help/lyravane.html beside the program, else in ../share/lyravane/help.
std::string FindHelpFile(const std::string& programDir);
