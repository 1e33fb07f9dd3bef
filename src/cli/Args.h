#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

/// A command-line mistake; main prints it with the usage and exits with status 2.
class EUsageError : public std::runtime_error
{
public:
    explicit EUsageError(const std::string& message) : std::runtime_error(message) {}
};

/// The words after the command: positional arguments and --options with one value each.
class TArgs
{
public:
    /// flags are the options that take no value (e.g. "--gm-reset").
    TArgs(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
          const std::vector<std::string>& flags);

    const std::vector<std::string>& Positional() const { return FPositional; }
    /// The one positional argument the command needs.
    const std::string& Input() const;

    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;
    /// The option's value, which must be given.
    std::string Required(const std::string& option) const;
    /// A whole number within lo..hi, or fallback when the option is absent.
    long long Number(const std::string& option, long long lo, long long hi,
                     long long fallback) const;

private:
    std::vector<std::string> FPositional;
    std::map<std::string, std::string> FValues;
};

/// Parses a whole decimal number within lo..hi; what names the value in the message.
long long ParseNumber(const std::string& text, long long lo, long long hi, const std::string& what);
/// Splits "1,3" into its parts.
std::vector<std::string> SplitList(const std::string& text);
