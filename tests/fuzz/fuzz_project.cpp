// Fuzz target: the project file reader.
//
// Any byte string either loads or raises one of our own errors; a failed load leaves the
// song as it was; a loaded song saves, and what it saves loads again and saves to the same
// bytes.

#include "FuzzCheck.h"

#include "base/Exceptions.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace
{
std::string Save(const TMusicProject& song)
{
    std::ostringstream out(std::ios::binary);
    song.SaveToStream(out);
    return out.str();
}

void Load(TMusicProject& song, const std::string& bytes)
{
    std::istringstream in(bytes, std::ios::binary);
    song.LoadFromStream(in);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TMusicProject song;
    const std::string fresh = Save(song);
    try
    {
        Load(song, bytes);
    }
    catch (const ELyravaneError&)
    {
        FUZZ_CHECK(Save(song) == fresh);
        return 0;
    }

    FUZZ_CHECK(song.Count() >= 1 && song.Count() <= MaxFileEntries);
    FUZZ_CHECK(song.PropertyAt(0) != nullptr);
    song.AttachProperties();
    for (int i = 0; i < song.Count(); ++i)
    {
        FUZZ_CHECK(song.GoverningProperty(i) != nullptr);
        if (const TMunit* unit = song.UnitAt(i))
            FUZZ_CHECK(unit->Property == song.GoverningProperty(i));
    }

    // What we write must read back, and a second pass must not change a byte.
    const std::string first = Save(song);
    TMusicProject again;
    Load(again, first);
    FUZZ_CHECK(again.Count() == song.Count());
    FUZZ_CHECK(Save(again) == first);

    // The deep copy the open command uses.
    TMusicProject copy;
    copy.Assign(song);
    FUZZ_CHECK(Save(copy) == first);
    return 0;
}
