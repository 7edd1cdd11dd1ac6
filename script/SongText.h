#pragma once

#include <QString>

// How user texts are kept inside a song script. Brackets structure the file, so a "[" in a
// text is written as "&#91;" and a "]" as "&#93;"; an "&" that starts one of these three
// sequences (or "&#38;") is written as "&#38;". Reading turns exactly these sequences back,
// so a file written without them (every older file) reads as before.
class SongText
{
public:
    static QString escape(const QString &text);
    static QString unescape(const QString &text);
    // A one-line value: its line breaks become blanks so the record stays on its line.
    static QString oneLine(const QString &text);
    // A free text value: every line break becomes a single line feed.
    static QString lineFeeds(const QString &text);
};
