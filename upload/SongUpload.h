#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class SongModel;

// Sends the song to the song server: the song script, written to the temporary folder, twice
// as a file part ("upfile", "sifile") and the song information as plain fields. Each upload has
// its own poster, released when its reply has finished or when this object goes.
class SongUpload : public QObject
{
    Q_OBJECT

public:
    // Writes the song as a song script to the path; false when it could not (the writer tells
    // the user why).
    using SongWriter = std::function<bool(const QString &path)>;

    // The address is KAVENDRA_UPLOAD_URL, or the local server's upload script.
    explicit SongUpload(QObject *parent = nullptr);

    QString url() const { return m_url; }
    // The upload's file name for a title: blanks and characters unsafe in a file name become "_".
    static QString baseName(const QString &title);

    // A song that could not be written (or with no writer) goes without its file parts.
    void submit(const SongModel &song, const SongWriter &writeSong);

signals:
    // The server's answer (empty on failure).
    void finished(const QByteArray &answer);

private:
    void replyFinished();

    QString m_url;
};
