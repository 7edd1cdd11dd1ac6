#include "script/SongScriptReader.h"

#include "script/Log.h"
#include "script/SongText.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <array>
#include <cfloat>
#include <cmath>

namespace {
const QString ScriptSuffix = QStringLiteral("kds");

// Looked for in this order; the first name on the line wins.
const std::array<QLatin1String, 5> SectionNames = {QLatin1String("chord"), QLatin1String("multi"),
                                                   QLatin1String("align"), QLatin1String("song"),
                                                   QLatin1String("display")};

// "vol_play" before "vol": a vol_play key also contains "vol".
const std::array<QLatin1String, 15> MultiKeys = {
    QLatin1String("n0"),   QLatin1String("n1"),          QLatin1String("n2"),
    QLatin1String("n3"),   QLatin1String("time_offset"), QLatin1String("strum_speed"),
    QLatin1String("hold"), QLatin1String("vol_play"),    QLatin1String("vol"),
    QLatin1String("gt"),   QLatin1String("text"),        QLatin1String("scale"),
    QLatin1String("bg"),   QLatin1String("pos"),         QLatin1String("layout")};

const std::array<QLatin1String, 17> ChordKeys = {
    QLatin1String("fret"),        QLatin1String("sp"),          QLatin1String("vol_ratio_d"),
    QLatin1String("vol_ratio_u"), QLatin1String("gt"),          QLatin1String("text"),
    QLatin1String("scale"),       QLatin1String("bg"),          QLatin1String("time_strum"),
    QLatin1String("time_turn"),   QLatin1String("time_hold_d"), QLatin1String("time_hold_u"),
    QLatin1String("vol_total_d"), QLatin1String("vol_total_u"), QLatin1String("vol_play"),
    QLatin1String("pos"),         QLatin1String("layout")};

const std::array<QLatin1String, 8> SongKeys = {QLatin1String("title"),      QLatin1String("artist"),
                                               QLatin1String("instrument"), QLatin1String("user"),
                                               QLatin1String("tap_order"),  QLatin1String("lyrics"),
                                               QLatin1String("tempo"),      QLatin1String("beats")};

const QLatin1String AlignKey("type");
constexpr int ChordHold = 100;
constexpr int FretCount = SoundInfo::Strokes * SoundInfo::Strings;

template <size_t N>
const QLatin1String *firstContained(const std::array<QLatin1String, N> &keys, QStringView key)
{
    for (const QLatin1String &keyword : keys) {
        if (key.contains(keyword))
            return &keyword;
    }
    return nullptr;
}

int toInteger(QStringView text)
{
    return text.trimmed().toInt(); // 0 when it is not a number
}

// Not a number, infinities included, reads as 0: no sound value can use them.
double toReal(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

// Reads up to n numbers of a record starting at p, the first character after the key's comma.
// Each value is at least one character long; the last one ends at "]". Returns how many were
// read: an incomplete list stops at its first missing separator.
template <typename T, typename Convert>
int readNumbers(QStringView line, qsizetype p, int n, T *out, Convert convert)
{
    for (int k = 0; k < n; ++k) {
        const QChar separator = k == n - 1 ? QLatin1Char(']') : QLatin1Char(',');
        const qsizetype end = line.indexOf(separator, p + 1);
        if (end < 0)
            return k;
        out[k] = convert(line.mid(p, end - p));
        p = end + 1;
    }
    return n;
}

int readIntegers(QStringView line, qsizetype comma, int n, int *out)
{
    return readNumbers(line, comma + 1, n, out, toInteger);
}

int readReals(QStringView line, qsizetype comma, int n, double *out)
{
    return readNumbers(line, comma + 1, n, out, toReal);
}

bool readReal(QStringView line, qsizetype comma, double &out)
{
    return readReals(line, comma, 1, &out) == 1;
}

bool readInteger(QStringView line, qsizetype comma, int &out)
{
    return readIntegers(line, comma, 1, &out) == 1;
}

// Texts separated by commas, the last one ended by "]"; all or nothing.
bool readTexts(QStringView line, qsizetype p, int n, QString *out)
{
    for (int k = 0; k < n; ++k) {
        const QChar separator = k == n - 1 ? QLatin1Char(']') : QLatin1Char(',');
        const qsizetype end = line.indexOf(separator, p + 1);
        if (end < 0)
            return false;
        out[k] = SongText::unescape(line.mid(p + 1, end - p - 1).toString().simplified());
        p = end;
    }
    return true;
}

void muteStroke(SoundInfo &info, int stroke)
{
    std::fill(std::begin(info.fret[stroke]), std::end(info.fret[stroke]), -1);
}

// The play volume is kept in single precision; values beyond it are clamped first.
double singlePrecision(double value)
{
    return static_cast<double>(
        static_cast<float>(std::clamp(value, -double(FLT_MAX), double(FLT_MAX))));
}
} // namespace

SongScriptReader::SongScriptReader(const QString &text, int maxButtons)
    : m_text(text), m_lines(QStringView(m_text).split(QLatin1Char('\n'))), m_maxButtons(maxButtons)
{
}

QStringView SongScriptReader::nextLine()
{
    QStringView line = m_lines.at(m_next++);
    return line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line;
}

Song SongScriptReader::read(const QByteArray &bytes, bool scriptSyntax, int maxButtons)
{
    SongScriptReader reader(decode(bytes), maxButtons);
    while (reader.m_next < reader.m_lines.size()) {
        const QStringView line = reader.nextLine();
        if (scriptSyntax)
            reader.parseScriptLine(line);
        else
            reader.parseFretListLine(line);
    }
    return reader.m_song;
}

bool SongScriptReader::usesScriptSyntax(const QString &fileName)
{
    return QFileInfo(fileName).suffix() == ScriptSuffix;
}

QString SongScriptReader::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

void SongScriptReader::startButton()
{
    m_hasCurrent = m_song.buttons.size() < m_maxButtons;
    if (m_hasCurrent)
        m_song.buttons.append(SongButton());
    else
        ++m_song.leftOutButtons;
}

SongButton *SongScriptReader::current()
{
    return m_hasCurrent ? &m_song.buttons.last() : nullptr;
}

void SongScriptReader::parseScriptLine(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('[')) {
            ++m_level;
            if (m_level == 1)
                openSection(line, i);
            else if (m_level == 2)
                openRecord(line, i);
        } else if (c == QLatin1Char(']')) {
            --m_level;
        }
    }
}

void SongScriptReader::openSection(QStringView line, qsizetype i)
{
    for (size_t j = 0; j < SectionNames.size(); ++j) {
        if (line.indexOf(SectionNames[j], i + 1) < 0)
            continue;
        m_mode = static_cast<Mode>(j);
        qCDebug(lcScript) << SectionNames[j] << "j:" << j << "mode:" << m_mode;
        if (m_mode == Chord || m_mode == Multi)
            startButton();
        return;
    }
}

void SongScriptReader::openRecord(QStringView line, qsizetype i)
{
    // A comma before the record's own bracket leaves it without a key.
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma <= i)
        return;
    const QStringView key = line.mid(i + 1, comma - i - 1);
    switch (m_mode) {
    case Chord:
        if (const QLatin1String *keyword = firstContained(ChordKeys, key))
            chordRecord(*keyword, line, comma);
        break;
    case Multi:
        if (const QLatin1String *keyword = firstContained(MultiKeys, key))
            multiRecord(*keyword, line, comma);
        break;
    case Align: {
        int type = 0;
        if (key.contains(AlignKey) && readInteger(line, comma, type))
            m_song.alignType = type;
        break;
    }
    case SongInfo:
        qCDebug(lcScript) << "song info mode";
        for (const QLatin1String &keyword : SongKeys) {
            if (key.contains(keyword))
                songRecord(keyword, line, comma);
        }
        break;
    case Display:
    case None:
        break;
    }
}

void SongScriptReader::multiRecord(const QLatin1String &keyword, QStringView line, qsizetype comma)
{
    SongButton *button = current();
    if (!button)
        return;
    SoundInfo &info = button->info;
    if (keyword.size() == 2 && keyword.startsWith(QLatin1Char('n'))) {
        const int stroke = keyword.at(1).toLatin1() - '0';
        int frets[SoundInfo::Strings];
        const int count = readIntegers(line, comma, SoundInfo::Strings, frets);
        for (int k = 0; k < count; ++k)
            info.fret[stroke][SoundInfo::Strings - 1 - k] = frets[k];
    } else if (keyword == QLatin1String("time_offset")) {
        double offsets[SoundInfo::Gaps];
        const int count = readReals(line, comma, SoundInfo::Gaps, offsets);
        std::copy(offsets, offsets + count, info.time_offset);
    } else if (keyword == QLatin1String("strum_speed")) {
        double speeds[SoundInfo::Strokes];
        const int count = readReals(line, comma, SoundInfo::Strokes, speeds);
        for (int r = 0; r < count; ++r) {
            info.strum_speed[r] = std::abs(speeds[r]);
            info.direction[r] = speeds[r] < 0 ? -1 : 1;
        }
    } else if (keyword == QLatin1String("hold")) {
        readReal(line, comma, info.hold);
    } else if (keyword == QLatin1String("vol")) {
        readReal(line, comma, info.vol);
    } else {
        buttonRecord(keyword, line, comma);
    }
}

void SongScriptReader::chordRecord(const QLatin1String &keyword, QStringView line, qsizetype comma)
{
    SongButton *button = current();
    if (!button)
        return;
    SoundInfo &info = button->info;
    double value = 0.0;
    if (keyword == QLatin1String("fret")) {
        int frets[SoundInfo::Strings];
        const int count = readIntegers(line, comma, SoundInfo::Strings, frets);
        for (int k = 0; k < count; ++k) {
            info.fret[0][SoundInfo::Strings - 1 - k] = frets[k];
            info.fret[1][SoundInfo::Strings - 1 - k] = frets[k];
        }
        muteStroke(info, 2);
        muteStroke(info, 3);
        info.direction[0] = 1;
        info.direction[1] = -1;
    } else if (keyword == QLatin1String("time_strum")) {
        if (readReal(line, comma, value))
            info.strum_speed[0] = info.strum_speed[1] = value;
    } else if (keyword == QLatin1String("time_turn")) {
        readReal(line, comma, info.time_offset[0]);
    } else if (keyword == QLatin1String("time_hold_d")) {
        if (readReal(line, comma, value) && value == 0.0)
            muteStroke(info, 0);
        info.hold = ChordHold;
    } else if (keyword == QLatin1String("time_hold_u")) {
        if (readReal(line, comma, value) && value == 0.0)
            muteStroke(info, 1);
    } else {
        // "sp" is checked and stores nothing; the volume ratios and totals do nothing.
        buttonRecord(keyword, line, comma);
    }
}

// Records that "multi" and "chord" sections share.
void SongScriptReader::buttonRecord(const QLatin1String &key, QStringView line, qsizetype comma)
{
    SongButton &button = *current();
    int value = 0;
    if (key == QLatin1String("gt")) {
        readInteger(line, comma, button.info.gt);
    } else if (key == QLatin1String("text")) {
        QString texts[SongButton::TextCount];
        if (readTexts(line, comma, SongButton::TextCount, texts))
            std::copy(std::begin(texts), std::end(texts), button.texts);
    } else if (key == QLatin1String("scale")) {
        readInteger(line, comma, button.scale);
    } else if (key == QLatin1String("bg")) {
        readInteger(line, comma, button.iconIndex);
    } else if (key == QLatin1String("vol_play")) {
        double volume = 0.0;
        if (readReal(line, comma, volume))
            button.volPlay = singlePrecision(volume);
    } else if (key == QLatin1String("layout")) {
        if (readInteger(line, comma, value)) {
            button.hasLayout = true;
            button.layoutLabel = button.texts[SongButton::LabelText];
        }
    }
}

void SongScriptReader::songRecord(const QLatin1String &keyword, QStringView line, qsizetype comma)
{
    QString text;
    if (keyword == QLatin1String("lyrics")) {
        m_song.lyrics = readLyrics(line, comma);
        return;
    }
    if (keyword == QLatin1String("tap_order")) {
        const qsizetype end = line.indexOf(QLatin1Char(']'), comma + 1);
        const QStringView value =
            end < 0 ? line.mid(comma + 1) : line.mid(comma + 1, end - comma - 1);
        m_song.tapOrder = SongText::unescape(value.toString());
        return;
    }
    int number = 0;
    if (keyword == QLatin1String("tempo")) {
        if (readInteger(line, comma, number))
            m_song.tempo = number;
        return;
    }
    if (keyword == QLatin1String("beats")) {
        if (readInteger(line, comma, number))
            m_song.beats = number;
        return;
    }
    if (!readTexts(line, comma, 1, &text))
        return;
    qCDebug(lcScript) << keyword << text;
    if (keyword == QLatin1String("title"))
        m_song.title = text;
    else if (keyword == QLatin1String("artist"))
        m_song.artist = text;
    else if (keyword == QLatin1String("user"))
        m_song.user = text;
}

// A one-line value ends at the line's closing bracket. Otherwise the value runs over the
// following lines, kept with their line breaks, up to the first "]"; the end of the file
// also ends it.
QString SongScriptReader::readLyrics(QStringView line, qsizetype comma)
{
    QString value = line.mid(comma + 1).toString();
    if (line.indexOf(QLatin1Char(']')) > 0) {
        if (value.endsWith(QLatin1Char(']')))
            value.chop(1);
        value.replace(QLatin1Char(']'), QLatin1Char(' '));
        return SongText::unescape(value);
    }
    while (m_next < m_lines.size()) {
        const QStringView next = nextLine();
        const qsizetype close = next.indexOf(QLatin1Char(']'));
        value += QLatin1Char('\n');
        if (close >= 0) {
            value += next.left(close);
            --m_level; // the main loop never sees this line
            break;
        }
        value += next;
    }
    return SongText::unescape(value);
}

void SongScriptReader::parseFretListLine(QStringView line)
{
    m_delimiter = -1;
    auto number = [&](qsizetype i) {
        return toInteger(line.mid(m_delimiter + 1, i - m_delimiter - 1));
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        switch (line.at(i).unicode()) {
        case '[':
            startFretListButton();
            m_delimiter = i;
            break;
        case '<': // the number before it is dropped; the delimiter stays
            startFretListButton();
            break;
        case 'd':
            m_delimiter = i;
            break;
        case 'f':
            if (m_expectIndex)
                m_index = number(i);
            m_delimiter = i;
            m_expectIndex = false;
            break;
        case 's':
            if (!m_expectIndex) {
                m_lastValue = number(i);
                storeFret(m_lastValue);
            }
            m_delimiter = i;
            m_expectIndex = true;
            break;
        case ']':
            if (i == m_delimiter + 1)
                break;
            if (!m_expectIndex)
                m_lastValue = number(i);
            storeFret(m_lastValue);
            break;
        default:
            break;
        }
    }
}

// Every button's list starts with a string index, as in [0f3s1f2].
void SongScriptReader::startFretListButton()
{
    startButton();
    m_expectIndex = true;
}

// An index outside the 24 frets of a sound is ignored.
void SongScriptReader::storeFret(int value)
{
    SongButton *button = current();
    if (!button || m_index < 0 || m_index >= FretCount)
        return;
    button->info.fret[m_index / SoundInfo::Strings][m_index % SoundInfo::Strings] = value;
}
