#include "cli/Args.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

TArgs::TArgs(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
             const std::vector<std::string>& flags)
{
    auto known = [](const std::vector<std::string>& list, const std::string& w)
    { return std::find(list.begin(), list.end(), w) != list.end(); };

    for (std::size_t i = 0; i < words.size(); ++i)
    {
        const std::string& w = words[i];
        if (w.size() > 2 && w.rfind("--", 0) == 0)
        {
            if (known(flags, w))
                FValues[w] = "";
            else if (known(valueOptions, w))
            {
                if (i + 1 >= words.size())
                    throw EUsageError("option " + w + " needs a value");
                FValues[w] = words[++i];
            }
            else
                throw EUsageError("unknown option " + w);
        }
        else if (w == "-o")
        {
            if (i + 1 >= words.size())
                throw EUsageError("option -o needs a file name");
            FValues["-o"] = words[++i];
        }
        else
            FPositional.push_back(w);
    }
}

const std::string& TArgs::Input() const
{
    if (FPositional.size() != 1)
        throw EUsageError(FPositional.empty() ? "no input file given" : "too many input files");
    return FPositional[0];
}

bool TArgs::Has(const std::string& option) const
{
    return FValues.count(option) != 0;
}

std::optional<std::string> TArgs::Value(const std::string& option) const
{
    auto it = FValues.find(option);
    if (it == FValues.end())
        return std::nullopt;
    return it->second;
}

std::string TArgs::Required(const std::string& option) const
{
    auto value = Value(option);
    if (!value || value->empty())
        throw EUsageError("option " + option + " is required");
    return *value;
}

long long TArgs::Number(const std::string& option, long long lo, long long hi,
                        long long fallback) const
{
    auto value = Value(option);
    if (!value)
        return fallback;
    return ParseNumber(*value, lo, hi, option);
}

long long ParseNumber(const std::string& text, long long lo, long long hi, const std::string& what)
{
    const bool digits =
        !text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                     [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || text == "-")
        throw EUsageError(what + ": '" + text + "' is not a whole number");
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || v < lo || v > hi)
        throw EUsageError(what + ": " + text + " is outside " + std::to_string(lo) + ".." +
                          std::to_string(hi));
    return v;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : text)
    {
        if (c == ',')
        {
            parts.push_back(part);
            part.clear();
        }
        else
            part += c;
    }
    parts.push_back(part);
    return parts;
}
