#include "script/SongScriptWriter.h"

#include "script/Song.h"
#include "script/SongText.h"

namespace {
const QLatin1String LineEnd("]\n");
constexpr int ButtonImageSize = 30;
constexpr int LayoutValue = 1;
constexpr int InstrumentValue = 0;

// Appends "[key," and returns out, for the values and the closing "]\n" to follow.
QString &open(QString &out, QLatin1String key)
{
    out += QLatin1Char('[');
    out += key;
    out += QLatin1Char(',');
    return out;
}

void record(QString &out, QLatin1String key, const QString &value)
{
    open(out, key) += value;
    out += LineEnd;
}

void section(QString &out, QLatin1String name)
{
    out += QLatin1Char('[');
    out += name;
    out += QLatin1Char('\n');
}

// Frets of one stroke, string 5 first.
void fretRecord(QString &out, QLatin1String key, const int *frets)
{
    open(out, key);
    for (int s = SoundInfo::Strings - 1; s >= 0; --s) {
        out += QString::number(frets[s], 10);
        out += s > 0 ? QLatin1Char(',') : QLatin1Char(']');
    }
    out += QLatin1Char('\n');
}

void realRecord(QString &out, QLatin1String key, const double *values, int count)
{
    open(out, key);
    for (int i = 0; i < count; ++i) {
        out += SongScriptWriter::real(values[i]);
        out += i + 1 < count ? QLatin1Char(',') : QLatin1Char(']');
    }
    out += QLatin1Char('\n');
}
} // namespace

QString SongScriptWriter::real(double value)
{
    // Adding zero turns -0 (an up stroke of speed 0) into 0.
    return QString::number(value + 0.0, 'g', 15);
}

QByteArray SongScriptWriter::write(const Song &song)
{
    QString out;
    out.reserve(2048 + song.buttons.size() * 400 + song.lyrics.value_or(QString()).size());
    section(out, QLatin1String("etc"));
    record(out, QLatin1String("bt_img_size"), QString::number(ButtonImageSize));
    out += LineEnd;
    section(out, QLatin1String("display"));
    record(out, QLatin1String("width"), QString::number(song.panelWidth));
    record(out, QLatin1String("height"), QString::number(song.panelHeight));
    out += LineEnd;
    writeSongSection(out, song);
    if (song.alignType == Song::GridArrangement || song.alignType == Song::SecondArrangement) {
        section(out, QLatin1String("align"));
        record(out, QLatin1String("type"), QString::number(*song.alignType));
        out += LineEnd;
    }
    for (const SongButton &button : song.buttons)
        writeButton(out, button);
    return out.toUtf8();
}

// User texts go through SongText::escape, so brackets in them never reach the bracket count.
void SongScriptWriter::writeSongSection(QString &out, const Song &song)
{
    auto oneLine = [](const std::optional<QString> &text) {
        return SongText::escape(SongText::oneLine(text.value_or(QString())));
    };
    section(out, QLatin1String("song"));
    record(out, QLatin1String("title"), oneLine(song.title));
    record(out, QLatin1String("artist"), oneLine(song.artist));
    record(out, QLatin1String("user"), oneLine(song.user));
    record(out, QLatin1String("instrument"), QString::number(InstrumentValue));
    record(out, QLatin1String("lyrics"),
           SongText::escape(SongText::lineFeeds(song.lyrics.value_or(QString()))));
    record(out, QLatin1String("tap_order"), oneLine(song.tapOrder));
    // Readers that know neither key skip these records.
    if (song.tempo)
        record(out, QLatin1String("tempo"), QString::number(*song.tempo));
    if (song.beats)
        record(out, QLatin1String("beats"), QString::number(*song.beats));
    out += LineEnd;
}

void SongScriptWriter::writeButton(QString &out, const SongButton &button)
{
    const SoundInfo &info = button.info;
    section(out, QLatin1String("multi"));
    const QLatin1String fretKeys[SoundInfo::Strokes] = {QLatin1String("n0"), QLatin1String("n1"),
                                                        QLatin1String("n2"), QLatin1String("n3")};
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        fretRecord(out, fretKeys[r], info.fret[r]);
    realRecord(out, QLatin1String("time_offset"), info.time_offset, SoundInfo::Gaps);
    double strum[SoundInfo::Strokes];
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        strum[r] = static_cast<double>(info.direction[r]) * info.strum_speed[r];
    realRecord(out, QLatin1String("strum_speed"), strum, SoundInfo::Strokes);
    record(out, QLatin1String("gt"), QString::number(info.gt));
    open(out, QLatin1String("text"));
    for (int t = 0; t < SongButton::TextCount; ++t) {
        out += SongText::escape(SongText::oneLine(button.texts[t]));
        out += t + 1 < SongButton::TextCount ? QLatin1Char(',') : QLatin1Char(']');
    }
    out += QLatin1Char('\n');
    record(out, QLatin1String("scale"), QString::number(button.scale));
    record(out, QLatin1String("bg"), QString::number(button.iconIndex));
    record(out, QLatin1String("hold"), real(info.hold));
    record(out, QLatin1String("vol"), real(info.vol));
    record(out, QLatin1String("vol_play"), real(button.volPlay));
    record(out, QLatin1String("pos"),
           QString::number(button.pos.x()) + QLatin1Char(',') + QString::number(button.pos.y()));
    record(out, QLatin1String("layout"), QString::number(LayoutValue));
    out += LineEnd;
    out += QLatin1Char('\n');
}
