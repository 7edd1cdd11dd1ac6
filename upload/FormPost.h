#pragma once

#include <QByteArray>
#include <QString>
#include <QtPlugin>

class QNetworkReply;

// Sends an HTTP POST whose body is a multipart/form-data form: plain fields first, then files.
class FormPost
{
public:
    virtual ~FormPost() = default;

    virtual QString userAgent() = 0;
    virtual void setUserAgent(QString agent) = 0;
    virtual QString referer() = 0;
    virtual void setReferer(QString referer) = 0;
    virtual QString encoding() = 0;
    virtual void setEncoding(QString encoding) = 0;
    virtual void addField(QString name, QString value) = 0;
    virtual void addFile(QString fieldName, QString fileName, QString mime) = 0;
    virtual void addFileData(QString fieldName, QByteArray data, QString fileName,
                             QString mime) = 0;
    virtual QNetworkReply *post(QString url) = 0;
    virtual QByteArray response() = 0;
};

#define FormPost_iid "org.kavendra.Plugin.FormPost/1.0"
Q_DECLARE_INTERFACE(FormPost, FormPost_iid)
