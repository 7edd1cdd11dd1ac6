#include "script/SongFile.h"

#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString NotRegular =
    QStringLiteral("It is not a song file but a folder, pipe, device or socket.");
const QString TooLarge = QStringLiteral("It is larger than %1 MB, far more than any song.")
                             .arg(SongFile::MaxBytes / (1024 * 1024));

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.');
}

// Why a file of this kind is refused; empty when it may be read.
QString refusal(const struct stat &info)
{
    if (!S_ISREG(info.st_mode))
        return NotRegular;
    return info.st_size > SongFile::MaxBytes ? TooLarge : QString();
}
} // namespace

bool SongFile::read(const QString &fileName, int maxButtons, Song *song, QString *reason)
{
    QByteArray bytes;
    if (!readBytes(fileName, &bytes, reason))
        return false;
    *song = SongScriptReader::read(bytes, SongScriptReader::usesScriptSyntax(fileName), maxButtons);
    return true;
}

Song SongFile::read(const QString &fileName, int maxButtons)
{
    Song song;
    QString reason;
    read(fileName, maxButtons, &song, &reason);
    return song;
}

// The type is checked before the open, which would block on a pipe; the open does not block
// either, and the check is made again on what was opened, in case the file was swapped between.
bool SongFile::readBytes(const QString &fileName, QByteArray *bytes, QString *reason)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info;
    if (::stat(path.constData(), &info) != 0) {
        *reason = systemError();
        return false;
    }
    *reason = refusal(info);
    if (!reason->isEmpty())
        return false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = systemError();
        return false;
    }
    if (::fstat(fd, &info) != 0)
        *reason = systemError();
    else
        *reason = refusal(info);
    if (reason->isEmpty())
        readOpened(fd, info.st_size, bytes, reason);
    ::close(fd);
    return reason->isEmpty();
}

// Stops one chunk past the limit: the file grew since it was checked.
void SongFile::readOpened(int fd, qint64 size, QByteArray *bytes, QString *reason)
{
    char chunk[64 * 1024];
    bytes->reserve(size);
    while (bytes->size() <= MaxBytes) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            *reason = systemError();
        if (got <= 0)
            break;
        bytes->append(chunk, got);
    }
    if (reason->isEmpty() && bytes->size() > MaxBytes)
        *reason = TooLarge;
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
