#include "script/SongFile.h"

#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"

#include <QFile>
#include <QSaveFile>

Song SongFile::read(const QString &fileName, int maxButtons)
{
    QFile file(fileName);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return SongScriptReader::read(bytes, SongScriptReader::usesScriptSyntax(fileName), maxButtons);
}

bool SongFile::write(const QString &fileName, const Song &song, QString *reason)
{
    QSaveFile file(fileName);
    reason->clear();
    if (writeAll(file, SongScriptWriter::write(song), reason) && file.commit())
        return true;
    if (reason->isEmpty())
        *reason = file.errorString();
    return false;
}

// Unbuffered, so that a short write (a full disk) is seen here and not lost in a late flush
// that commit() would not report.
bool SongFile::writeAll(QSaveFile &file, const QByteArray &bytes, QString *reason)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            *reason = file.errorString();
            return false;
        }
        done += written;
    }
    return true;
}
