#include "script/SongScriptWriter.h"

#include "script/Song.h"
#include "script/SongText.h"

#include <QStringList>

namespace {
const QLatin1String LineEnd("]\n");
constexpr int ButtonImageSize = 30;
constexpr int LayoutValue = 1;
constexpr int InstrumentValue = 0;

QString record(const QString &key, const QString &values)
{
    return QLatin1Char('[') + key + QLatin1Char(',') + values + LineEnd;
}

QString section(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char('\n');
}

// Frets of one stroke, string 5 first.
QString fretList(const int *frets)
{
    QStringList values;
    for (int s = SoundInfo::Strings - 1; s >= 0; --s)
        values << QString::number(frets[s], 10);
    return values.join(QLatin1Char(','));
}

QString realList(const double *values, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << SongScriptWriter::real(values[i]);
    return texts.join(QLatin1Char(','));
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
    out += section(QStringLiteral("etc"));
    out += record(QStringLiteral("bt_img_size"), QString::number(ButtonImageSize));
    out += LineEnd;
    out += section(QStringLiteral("display"));
    out += record(QStringLiteral("width"), QString::number(song.panelWidth));
    out += record(QStringLiteral("height"), QString::number(song.panelHeight));
    out += LineEnd;
    writeSongSection(out, song);
    if (song.alignType == Song::GridArrangement || song.alignType == Song::SecondArrangement) {
        out += section(QStringLiteral("align"));
        out += record(QStringLiteral("type"), QString::number(*song.alignType));
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
    out += section(QStringLiteral("song"));
    out += record(QStringLiteral("title"), oneLine(song.title));
    out += record(QStringLiteral("artist"), oneLine(song.artist));
    out += record(QStringLiteral("user"), oneLine(song.user));
    out += record(QStringLiteral("instrument"), QString::number(InstrumentValue));
    out += record(QStringLiteral("lyrics"),
                  SongText::escape(SongText::lineFeeds(song.lyrics.value_or(QString()))));
    out += record(QStringLiteral("tap_order"), oneLine(song.tapOrder));
    out += LineEnd;
}

void SongScriptWriter::writeButton(QString &out, const SongButton &button)
{
    const SoundInfo &info = button.info;
    out += section(QStringLiteral("multi"));
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        out += record(QLatin1Char('n') + QString::number(r), fretList(info.fret[r]));
    out += record(QStringLiteral("time_offset"), realList(info.time_offset, SoundInfo::Gaps));
    double strum[SoundInfo::Strokes];
    for (int r = 0; r < SoundInfo::Strokes; ++r)
        strum[r] = static_cast<double>(info.direction[r]) * info.strum_speed[r];
    out += record(QStringLiteral("strum_speed"), realList(strum, SoundInfo::Strokes));
    out += record(QStringLiteral("gt"), QString::number(info.gt));
    QStringList texts;
    for (const QString &text : button.texts)
        texts << SongText::escape(SongText::oneLine(text));
    out += record(QStringLiteral("text"), texts.join(QLatin1Char(',')));
    out += record(QStringLiteral("scale"), QString::number(button.scale));
    out += record(QStringLiteral("bg"), QString::number(button.iconIndex));
    out += record(QStringLiteral("hold"), real(info.hold));
    out += record(QStringLiteral("vol"), real(info.vol));
    out += record(QStringLiteral("vol_play"), real(button.volPlay));
    out += record(QStringLiteral("pos"), QString::number(button.pos.x()) + QLatin1Char(',') +
                                             QString::number(button.pos.y()));
    out += record(QStringLiteral("layout"), QString::number(LayoutValue));
    out += LineEnd;
    out += QLatin1Char('\n');
}
