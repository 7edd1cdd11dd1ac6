#include "script/SongText.h"

#include <algorithm>
#include <array>

namespace {
struct Escape
{
    QChar plain;
    QLatin1String sequence;
};

const std::array<Escape, 3> Escapes = {{
    {QLatin1Char('['), QLatin1String("&#91;")},
    {QLatin1Char(']'), QLatin1String("&#93;")},
    {QLatin1Char('&'), QLatin1String("&#38;")},
}};

// The escape that starts at position i of text, or nullptr.
const Escape *sequenceAt(const QString &text, qsizetype i)
{
    for (const Escape &escape : Escapes) {
        if (QStringView(text).mid(i).startsWith(escape.sequence))
            return &escape;
    }
    return nullptr;
}
} // namespace

QString SongText::escape(const QString &text)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('&');
    };
    if (std::none_of(text.cbegin(), text.cend(), special))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('['))
            result += Escapes[0].sequence;
        else if (c == QLatin1Char(']'))
            result += Escapes[1].sequence;
        else if (c == QLatin1Char('&') && sequenceAt(text, i))
            result += Escapes[2].sequence;
        else
            result += c;
    }
    return result;
}

QString SongText::unescape(const QString &text)
{
    if (!text.contains(QLatin1String("&#")))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Escape *escape = text.at(i) == QLatin1Char('&') ? sequenceAt(text, i) : nullptr;
        if (escape) {
            result += escape->plain;
            i += escape->sequence.size() - 1;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

QString SongText::oneLine(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\r'), QLatin1Char(' '));
    result.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return result;
}

QString SongText::lineFeeds(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}
