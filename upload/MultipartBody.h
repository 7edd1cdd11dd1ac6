#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

// A multipart/form-data body: text fields and files in the order added, framed by a boundary
// that occurs nowhere inside the parts.
class MultipartBody
{
public:
    // Draws one candidate boundary; drawn again while any part contains it.
    using BoundarySource = std::function<QByteArray()>;

    MultipartBody();
    explicit MultipartBody(BoundarySource source);

    // Whether text fields carry the line "Content-Transfer-Encoding: 8bit" (off by default).
    void setEightBitFields(bool on);
    void addField(const QByteArray &name, const QByteArray &value);
    void addFile(const QByteArray &name, const QByteArray &fileName, const QByteArray &contentType,
                 const QByteArray &content);

    QByteArray boundary() const;
    // "multipart/form-data; boundary=" and the boundary.
    QByteArray contentType() const;
    QByteArray body() const;

    // 27 hyphens and three random numbers, like the boundaries browsers send.
    static QByteArray randomBoundary();

private:
    struct Part
    {
        QByteArray header;
        QByteArray content;
        bool isField;
    };

    QByteArray headerOf(const Part &part) const;
    bool anyPartContains(const QByteArray &boundary) const;

    BoundarySource m_source;
    QList<Part> m_parts;
    bool m_eightBitFields = false;
    mutable QByteArray m_boundary;
};
