// Fuzz target: the pattern index file reader.
//
// Any text gives one entry per line; every display name fits the 64-byte name field of the
// project file with its zero; every listed name is found again by the case-blind lookup.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "model/Muprop.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TArrangeList list;
    try
    {
        list.LoadIndexText(text, "/fuzz/PATTERN");
    }
    catch (const ELyravaneError&)
    {
        return 0;
    }

    FUZZ_CHECK(list.Names.size() == list.FileNames.size());
    // At most one entry per line break, plus the last line.
    std::size_t breaks = 0;
    for (char c : text)
        breaks += (c == '\n' || c == '\r') ? 1 : 0;
    FUZZ_CHECK(list.FileNames.size() <= breaks + 1);
    FUZZ_CHECK(text.empty() == list.FileNames.empty());

    for (int i = 0; i < list.Count(); ++i)
    {
        const std::string& name = list.Names[static_cast<std::size_t>(i)];
        FUZZ_CHECK(name.size() <= 63);
        const int found = list.IndexOf(name);
        FUZZ_CHECK(found >= 0 && found <= i);
        // A song that chose this pattern stores the name in its property record and must
        // find the same pattern when it is opened again.
        TMuprop property;
        property.SetPatternName(0, name);
        std::stringstream record(std::ios::in | std::ios::out | std::ios::binary);
        property.WriteToStream(record);
        TMuprop reread;
        reread.ReadFromStream(record);
        FUZZ_CHECK(reread.GetPatternName(0) == name);
        const std::string& file = list.FileNames[static_cast<std::size_t>(i)];
        FUZZ_CHECK(file.rfind("/fuzz/PATTERN", 0) == 0);
        if (list.NamesPattern(i))
            FUZZ_CHECK(file.size() > std::string("/fuzz/PATTERN/").size());
    }

    // A second file appends to the first.
    const int before = list.Count();
    list.LoadIndexText(text, "/fuzz/PATTERN");
    FUZZ_CHECK(list.Count() == 2 * before);
    return 0;
}
