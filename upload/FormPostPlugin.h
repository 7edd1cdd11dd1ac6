#pragma once

#include "upload/FormPost.h"
#include "upload/MultipartBody.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QNetworkReply;
class QUrl;

// The multipart form poster. Never shown; a widget only so it can also be offered as a plug-in.
class FormPostPlugin : public QWidget, public FormPost
{
    Q_OBJECT
#ifdef KAVENDRA_FORMPOST_PLUGIN
    Q_PLUGIN_METADATA(IID FormPost_iid FILE "plugin/formpost.json")
#endif
    Q_INTERFACES(FormPost)

public:
    // A reply that receives nothing for this long is abandoned.
    static constexpr int TransferTimeoutMs = 30000;
    // A transfer is stopped after this long, even while data keeps coming.
    static constexpr int TimeLimitMs = 60000;
    // The server's answer is one short line of text; a longer one stops the transfer.
    static constexpr qint64 MaxResponseBytes = 64 * 1024;

    FormPostPlugin();

    QString userAgent() override;
    void setUserAgent(QString agent) override;
    QString referer() override;
    void setReferer(QString referer) override;
    QString encoding() override;
    void setEncoding(QString encoding) override;
    void addField(QString name, QString value) override;
    void addFile(QString fieldName, QString fileName, QString mime) override;
    void addFileData(QString fieldName, QByteArray data, QString fileName, QString mime) override;
    QNetworkReply *post(QString url) override;
    QByteArray response() override;

    // The text after "://" up to the next "/"; empty when the URL has no "://".
    static QString hostOf(const QString &url);
    // The part of a path after its last slash, or else after its last backslash.
    static QString fileNameOf(const QString &path);
    void setTimeLimitMs(int ms);
    // Why the poster stopped the last transfer itself (too long an answer, too long a transfer,
    // a redirect elsewhere); empty when it did not.
    QString failure() const;
    // Where the boundaries of later posts come from (random unless replaced).
    void setBoundarySource(MultipartBody::BoundarySource source);
    // The request body of the parts collected so far: fields first, then files.
    MultipartBody multipart() const;

public slots:
    void readData(QNetworkReply *reply);

private:
    void clearParts();
    void watch(QNetworkReply *reply);
    void checkRedirect(QNetworkReply *reply, const QUrl &target);
    void stop(QNetworkReply *reply, const QString &why);

    MultipartBody::BoundarySource m_boundarySource = &MultipartBody::randomBoundary;
    QByteArray m_response;
    QString m_failure;
    int m_timeLimitMs = TimeLimitMs;
    QString m_encoding;
    QString m_userAgent;
    QString m_referer;
    QStringList m_fieldNames;
    QStringList m_fieldValues;
    QStringList m_fileFieldNames;
    QStringList m_fileNames;
    QStringList m_fileContentTypes;
    QList<QByteArray> m_fileContents;
};
