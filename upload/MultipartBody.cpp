#include "upload/MultipartBody.h"

#include <QRandomGenerator>

namespace {
const QByteArray Crlf = "\r\n";
const QByteArray EightBitLine = "Content-Transfer-Encoding: 8bit\r\n";
const QByteArray BoundaryPrefix(27, '-');
constexpr int BoundaryNumbers = 3;

// A header line cannot hold a line break: it becomes a space.
QByteArray oneLine(QByteArray text)
{
    return text.replace('\r', ' ').replace('\n', ' ');
}

// A quoted-string: a quote or backslash inside is preceded by a backslash, which the song
// server's form parser undoes; unescaped, a title with a quote was cut off at it.
QByteArray quoted(const QByteArray &text)
{
    QByteArray out = "\"";
    for (const char c : oneLine(text)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

QByteArray disposition(const QByteArray &name)
{
    return "Content-Disposition: form-data; name=" + quoted(name);
}
} // namespace

MultipartBody::MultipartBody() : MultipartBody(&MultipartBody::randomBoundary) {}

MultipartBody::MultipartBody(BoundarySource source) : m_source(std::move(source)) {}

void MultipartBody::setEightBitFields(bool on)
{
    m_eightBitFields = on;
}

void MultipartBody::addField(const QByteArray &name, const QByteArray &value)
{
    m_parts.append({disposition(name) + Crlf, value, true});
}

void MultipartBody::addFile(const QByteArray &name, const QByteArray &fileName,
                            const QByteArray &contentType, const QByteArray &content)
{
    const QByteArray header = disposition(name) + "; filename=" + quoted(fileName) + Crlf +
                              "Content-Type: " + oneLine(contentType) + Crlf;
    m_parts.append({header, content, false});
}

// Kept between calls so that the content type and the body agree; a part added later that
// contains it makes the next call draw again.
QByteArray MultipartBody::boundary() const
{
    while (m_boundary.isEmpty() || anyPartContains(m_boundary))
        m_boundary = m_source();
    return m_boundary;
}

QByteArray MultipartBody::contentType() const
{
    return "multipart/form-data; boundary=" + boundary();
}

QByteArray MultipartBody::body() const
{
    const QByteArray b = boundary();
    QByteArray out;
    for (const Part &part : m_parts) {
        out += (out.isEmpty() ? QByteArray() : Crlf) + "--" + b + Crlf;
        out += headerOf(part) + Crlf + part.content;
    }
    out += Crlf + "--" + b + "--" + Crlf;
    return out;
}

QByteArray MultipartBody::randomBoundary()
{
    QByteArray boundary = BoundaryPrefix;
    for (int i = 0; i < BoundaryNumbers; ++i)
        boundary += QByteArray::number(QRandomGenerator::system()->bounded(1, 0x7fffffff));
    return boundary;
}

QByteArray MultipartBody::headerOf(const Part &part) const
{
    return part.isField && m_eightBitFields ? part.header + EightBitLine : part.header;
}

bool MultipartBody::anyPartContains(const QByteArray &boundary) const
{
    for (const Part &part : m_parts) {
        if (headerOf(part).contains(boundary) || part.content.contains(boundary))
            return true;
    }
    return false;
}
