#include "base/Message.h"

std::string PutValues(const std::string& text, const std::vector<std::string>& args)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' &&
            static_cast<std::size_t>(next - '1') < args.size())
        {
            out += args[static_cast<std::size_t>(next - '1')];
            ++i;
        }
        else
            out += text[i];
    }
    return out;
}

std::string TMessage::Str() const
{
    if (Args.empty())
        return Text;
    std::vector<std::string> values;
    values.reserve(Args.size());
    for (const auto& arg : Args)
        values.push_back(arg.Str());
    return PutValues(Text, values);
}
