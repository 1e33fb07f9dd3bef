// Fuzz target: the check of a user's pattern file ("Añadir patrón", check-pattern).
//
// The first byte chooses the kind, the rest is the file. Any bytes give a report and never
// an exception; a usable pattern has notes in exactly four bars, and every fault found is in
// the report. The name check either refuses a name or gives one that fits an index line.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/PatternCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto kind = static_cast<TPatternKind>(data[0] % 3);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const TPatternCheck check = CheckPatternBytes(bytes, kind);
    const std::string report = check.Report();
    FUZZ_CHECK(report.rfind(std::string("el patrón de ") + PatternKindName(kind), 0) == 0);
    if (check.Usable())
    {
        FUZZ_CHECK(check.Bars == PatternBarCount);
        FUZZ_CHECK(check.Notes > 0);
    }
    for (const TMessage& problem : check.Problems)
        FUZZ_CHECK(report.find(problem.Str()) != std::string::npos);

    // The same bytes as a name for the new pattern.
    TArrangeList library;
    library.LoadIndexText("A.MID | Pop 8 Beat\n", "/fuzz/PATTERN");
    try
    {
        const std::string name = CheckNewPatternName(bytes.substr(0, 100), library);
        FUZZ_CHECK(!name.empty() && name.size() <= 63);
        FUZZ_CHECK(name.find('|') == std::string::npos);
        // Written into an index line, it reads back as the same name.
        TArrangeList reread;
        reread.LoadIndexText("USER/X.MID | " + name + "\n", "/fuzz/PATTERN");
        FUZZ_CHECK(reread.Count() == 1 && reread.Names[0] == name);
    }
    catch (const ELyravaneError&)
    {
    }
    return 0;
}
