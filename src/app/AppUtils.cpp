#include "app/AppUtils.h"

#include "base/FileIO.h"

std::string ProgramDir()
{
    return ExecutableDir();
}

std::string FindHelpFile(const std::string& programDir)
{
    return FindProgramData(programDir, "help/lyravane.html", false);
}
