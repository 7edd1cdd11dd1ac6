#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QNetworkReply;
class SongModel;

// Sends the song to the song server: the song script, written to a private folder made for the
// upload, twice as a file part ("upfile", "sifile") and the song information as plain fields.
// Each upload has its own poster, released when its reply has finished or when this object goes.
// What the server would refuse is not sent; every upload ends with one line for the user.
class SongUpload : public QObject
{
    Q_OBJECT

public:
    // Writes the song as a song script to the path; false when it could not (the writer tells
    // the user why).
    using SongWriter = std::function<bool(const QString &path)>;

    // The song server's limits, in Unicode characters and bytes.
    static constexpr int MaxNameChars = 200;
    static constexpr int MaxLyricsChars = 65536;
    static constexpr qint64 MaxSongFileBytes = 1024 * 1024;

    // The address is KAVENDRA_UPLOAD_URL, or the local server's upload script.
    explicit SongUpload(QObject *parent = nullptr);

    QString url() const { return m_url; }
    // The upload's file name for a title: blanks and characters unsafe in a file name become "_".
    static QString baseName(const QString &title);

    // Nothing is sent when the song could not be written or the server would refuse it.
    void submit(const SongModel &song, const SongWriter &writeSong);

signals:
    // The upload's result in one line: success, the server's answer or what went wrong.
    void finished(bool uploaded, const QString &result);

private:
    static QString refusal(const SongModel &song);
    static QString songFile(const QString &base, const SongWriter &writeSong, QByteArray *bytes);
    void replyFinished(QNetworkReply *reply);
    static QString resultOf(QNetworkReply *reply, const QString &failure, const QByteArray &answer);

    QString m_url;
};
