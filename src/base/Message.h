#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace Core
{
/// Marks a message the window shows in the user's language: the translation tools gather
/// every text given to Core::Tr under the context "Core". The command line prints the text
/// as it stands, with its values put in.
constexpr const char* Tr(const char* source)
{
    return source;
}
} // namespace Core

/// A message and the values it names %1, %2... (up to %9), kept apart so that the window can
/// look the text up in its translation before the values go in. A value is a message too:
/// one of ours (a reason inside a sentence), or a text that is not ours to translate (a path,
/// a number, a name, the system's words).
struct TMessage
{
    /// A text marked with Core::Tr, or the value itself when Ours is false.
    std::string Text;
    std::vector<TMessage> Args;
    bool Ours = true;

    bool Empty() const { return Text.empty(); }
    /// The text with its values put in, untranslated.
    std::string Str() const;
};

/// Puts args into text in one pass: %1 to %9 name them; a number without a value and any
/// other "%" stay as they are. A value that holds "%2" is not read again.
std::string PutValues(const std::string& text, const std::vector<std::string>& args);

/// A text that is not ours to translate, shown as it stands.
inline TMessage Verbatim(std::string text)
{
    return TMessage{std::move(text), {}, false};
}

inline TMessage MessageValue(TMessage message)
{
    return message;
}
inline TMessage MessageValue(std::string text)
{
    return Verbatim(std::move(text));
}
inline TMessage MessageValue(const char* text)
{
    return Verbatim(text);
}
template <typename T>
requires std::is_arithmetic_v<T> TMessage MessageValue(T number)
{
    return Verbatim(std::to_string(number));
}

/// A message of ours (marked with Core::Tr) with its values.
template <typename... TArgs> TMessage Msg(const char* text, TArgs&&... args)
{
    return TMessage{text, {MessageValue(std::forward<TArgs>(args))...}, true};
}
