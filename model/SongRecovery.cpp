#include "model/SongRecovery.h"

#include "model/SongModel.h"
#include "script/SongFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>

namespace {
// More programs than this at once keep no copy.
constexpr int MaxCopies = 64;
// A file name is far shorter; anything longer is not a name file.
constexpr qint64 MaxNameBytes = 16384;
const QString LockSuffix = QStringLiteral(".lock");
const QString NameSuffix = QStringLiteral(".name");

// Never stale by age: only a lock whose program has ended is taken over.
std::unique_ptr<QLockFile> tryLock(const QString &copyPath)
{
    auto lock = std::make_unique<QLockFile>(copyPath + LockSuffix);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QString readName(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxNameBytes)
        return QString();
    return QString::fromUtf8(file.readAll());
}
} // namespace

SongRecovery::SongRecovery(SongModel *song, const QString &folder, QObject *parent)
    : QObject(parent), m_song(song), m_folder(folder)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(WriteDelay);
    connect(&m_timer, &QTimer::timeout, this, &SongRecovery::writeNow);
    connect(song, &SongModel::buttonAdded, this, &SongRecovery::changed);
    connect(song, &SongModel::buttonRemoved, this, &SongRecovery::changed);
    connect(song, &SongModel::buttonMoved, this, &SongRecovery::changed);
    connect(song, &SongModel::buttonChanged, this, &SongRecovery::changed);
    connect(song, &SongModel::infoChanged, this, &SongRecovery::changed);
    connect(song, &SongModel::songReplaced, this, &SongRecovery::changed);
    connect(song, &SongModel::modifiedChanged, this, &SongRecovery::modifiedChanged);
    claim();
}

// The lock goes with this object; the copy stays for the next start.
SongRecovery::~SongRecovery() = default;

QString SongRecovery::defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/kavendra");
}

QString SongRecovery::copyName(int slot)
{
    return slot == 1 ? QStringLiteral("recovery.kds") : QStringLiteral("recovery-%1.kds").arg(slot);
}

QString SongRecovery::nameFile(const QString &copyPath)
{
    return copyPath + NameSuffix;
}

void SongRecovery::claim()
{
    if (!m_folder.mkpath(QStringLiteral(".")))
        return;
    for (int slot = 1; slot <= MaxCopies; ++slot) {
        const QString path = m_folder.filePath(copyName(slot));
        if (QFileInfo::exists(path))
            continue;
        if (std::unique_ptr<QLockFile> lock = tryLock(path)) {
            m_lock = std::move(lock);
            m_path = path;
            return;
        }
    }
}

// Within WriteDelay of the first change since the last write, however many follow.
void SongRecovery::changed()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void SongRecovery::modifiedChanged(bool modified)
{
    if (modified)
        changed();
    else
        discard();
}

// The name first: a copy is never newer than the name beside it.
bool SongRecovery::writeNow()
{
    m_timer.stop();
    if (!m_song->isModified())
        return true;
    QString reason = tr("No folder for a recovery copy in %1").arg(m_folder.path());
    if (!m_path.isEmpty() && writeFileName(&reason) &&
        SongFile::write(m_path, m_song->toSong(), &reason))
        return true;
    emit writeFailed(reason);
    return false;
}

bool SongRecovery::writeFileName(QString *reason) const
{
    QSaveFile file(nameFile(m_path));
    const QByteArray name = m_fileName ? m_fileName().toUtf8() : QByteArray();
    if (file.open(QIODevice::WriteOnly) && file.write(name) == name.size() && file.commit())
        return true;
    *reason = file.errorString();
    return false;
}

void SongRecovery::discard()
{
    m_timer.stop();
    if (!m_path.isEmpty())
        remove(m_path);
}

QList<SongRecovery::LeftCopy> SongRecovery::leftCopies() const
{
    QList<LeftCopy> copies;
    for (int slot = 1; slot <= MaxCopies; ++slot) {
        const QString path = m_folder.filePath(copyName(slot));
        if (path == m_path || !QFileInfo::exists(path))
            continue;
        if (std::unique_ptr<QLockFile> lock = tryLock(path))
            copies.append(
                {path, QFileInfo(path).lastModified(), readName(nameFile(path)), std::move(lock)});
    }
    std::sort(copies.begin(), copies.end(),
              [](const LeftCopy &a, const LeftCopy &b) { return a.time > b.time; });
    return copies;
}

void SongRecovery::adopt(const LeftCopy &copy)
{
    Q_ASSERT(!QFileInfo::exists(m_path));
    m_lock = copy.lock;
    m_path = copy.path;
}

std::optional<Song> SongRecovery::read(const LeftCopy &copy)
{
    Song song = SongFile::read(copy.path, SongModel::Capacity);
    if (!song.title)
        return std::nullopt;
    return song;
}

// The copy first: a name file alone is never taken for a copy.
void SongRecovery::remove(const QString &copyPath)
{
    QFile::remove(copyPath);
    QFile::remove(nameFile(copyPath));
}
