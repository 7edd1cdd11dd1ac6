#include "app/RecentSongs.h"

#include "app/Settings.h"

#include <QFileInfo>

namespace {
const QString RecentKey = QStringLiteral("RecentFiles");
} // namespace

QStringList RecentSongs::existing()
{
    QStringList songs = Settings::store().value(RecentKey).toStringList();
    songs.removeIf([](const QString &song) { return !QFileInfo(song).isFile(); });
    return songs;
}

void RecentSongs::add(const QString &fileName)
{
    const QString song = QFileInfo(fileName).absoluteFilePath();
    QStringList songs = Settings::store().value(RecentKey).toStringList();
    songs.removeAll(song);
    songs.prepend(song);
    Settings::store().setValue(RecentKey, songs.mid(0, Limit));
}
