#include "base/Text.h"

namespace
{
unsigned char Byte(std::string_view text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

/// Length of the UTF-8 sequence starting at i, or 0 when it is not well formed.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    const unsigned char b = Byte(text, i);
    std::size_t length;
    unsigned int min;
    unsigned int code;
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
    {
        length = 2;
        min = 0x80;
        code = b & 0x1F;
    }
    else if ((b & 0xF0) == 0xE0)
    {
        length = 3;
        min = 0x800;
        code = b & 0x0F;
    }
    else if ((b & 0xF8) == 0xF0)
    {
        length = 4;
        min = 0x10000;
        code = b & 0x07;
    }
    else
        return 0;
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
    {
        const unsigned char c = Byte(text, i + k);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsShiftJisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
} // namespace

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();)
    {
        const std::size_t n = Utf8Length(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string ValidUtf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
    {
        const std::size_t n = Utf8Length(text, i);
        if (n == 0)
        {
            valid += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        valid.append(text.substr(i, n));
        i += n;
    }
    return valid;
}

std::vector<std::string_view> SplitCharacters(std::string_view text)
{
    std::vector<std::string_view> chars;
    const bool utf8 = IsValidUtf8(text);
    for (std::size_t i = 0; i < text.size();)
    {
        std::size_t n = 1;
        if (utf8)
            n = Utf8Length(text, i);
        else if (IsShiftJisLead(Byte(text, i)) && i + 1 < text.size())
            n = 2;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

std::string CutName(std::string_view name, std::size_t maxChars, std::size_t maxBytes)
{
    std::vector<std::string_view> chars = SplitCharacters(name);
    if (chars.size() > maxChars)
        chars.resize(maxChars);
    std::size_t bytes = 0;
    for (const auto& c : chars)
        bytes += c.size();
    while (bytes > maxBytes && !chars.empty())
    {
        bytes -= chars.back().size();
        chars.pop_back();
    }
    std::string result;
    result.reserve(bytes);
    for (const auto& c : chars)
        result.append(c);
    return result;
}

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && Byte(text, first) <= 0x20)
        ++first;
    while (last > first && Byte(text, last - 1) <= 0x20)
        --last;
    return text.substr(first, last - first);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Only a letter that stands as a character of its own is folded: the second byte of
    // a Shift-JIS character may look like an ASCII letter.
    const std::vector<std::string_view> x = SplitCharacters(a);
    const std::vector<std::string_view> y = SplitCharacters(b);
    if (x.size() != y.size())
        return false;
    auto fold = [](unsigned char c)
    { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        if (x[i].size() == 1 && y[i].size() == 1)
        {
            if (fold(Byte(x[i], 0)) != fold(Byte(y[i], 0)))
                return false;
        }
        else if (x[i] != y[i])
            return false;
    }
    return true;
}

bool HasExtension(std::string_view path, std::string_view extension)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return false;
    return SameTextIgnoringCase(path.substr(dot + 1), extension);
}
