#include "base/Bytes.h"

#include "base/Exceptions.h"

#include <istream>
#include <ostream>

void ReadExact(std::istream& stream, void* buffer, std::size_t size)
{
    if (size == 0)
        return;
    stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(stream.gcount()) != size)
        throw EReadError(Core::Tr("the data ends early"));
}

void WriteExact(std::ostream& stream, const void* buffer, std::size_t size)
{
    stream.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(size));
    if (!stream)
        throw EWriteError();
}
