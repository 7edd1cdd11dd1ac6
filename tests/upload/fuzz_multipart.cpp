// libFuzzer target for the multipart body: arbitrary fields and files, framed by boundaries drawn
// from the input (so that parts can contain them), parsed back by a strict reader of RFC 2046 and
// RFC 7578 that must give every part back exactly: its name, file name, type and content.
#include "upload/MultipartBody.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
constexpr int MaxParts = 8;
constexpr int MaxBoundary = 70;
const QByteArray Crlf = "\r\n";

struct Part
{
    QByteArray name;
    std::optional<QByteArray> fileName;
    QByteArray contentType;
    QByteArray content;
    bool operator==(const Part &o) const
    {
        return name == o.name && fileName == o.fileName && contentType == o.contentType &&
               content == o.content;
    }
};

[[noreturn]] void fail(const char *what, const QByteArray &body)
{
    std::fprintf(stderr, "%s\n--- body\n%s\n", what,
                 body.toPercentEncoding(" \r\n\"-").constData());
    std::abort();
}

QByteArray bytes(FuzzedDataProvider &input, size_t max = 256)
{
    const std::string s = input.ConsumeRandomLengthString(max);
    return QByteArray(s.data(), qsizetype(s.size()));
}

// A header cannot carry a line break: the body writes it as a space.
QByteArray oneLine(QByteArray text)
{
    return text.replace('\r', ' ').replace('\n', ' ');
}

// Boundaries of digits and hyphens, 1 to 70 characters, as RFC 2046 allows; after those from the
// input, numbered ones, so that drawing again always ends.
MultipartBody::BoundarySource boundariesFrom(FuzzedDataProvider &input)
{
    QList<QByteArray> drawn;
    for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i) {
        QByteArray b = bytes(input, MaxBoundary);
        for (char &c : b)
            c = (unsigned char)c % 11 == 10 ? '-' : char('0' + (unsigned char)c % 11);
        if (!b.isEmpty())
            drawn.append(b);
    }
    return [drawn, next = 0]() mutable {
        return next < drawn.size() ? drawn[next++] : "=_" + QByteArray::number(next++);
    };
}

// Reads a quoted-string at text[i] (the opening quote) up to its closing quote, undoing the
// backslash pairs; i ends after the closing quote.
std::optional<QByteArray> quoted(const QByteArray &text, qsizetype &i)
{
    if (i >= text.size() || text[i] != '"')
        return std::nullopt;
    QByteArray value;
    for (++i; i < text.size(); ++i) {
        if (text[i] == '"') {
            ++i;
            return value;
        }
        if (text[i] == '\\' && ++i == text.size())
            return std::nullopt;
        value += text[i];
    }
    return std::nullopt;
}

bool expect(const QByteArray &text, qsizetype &i, const QByteArray &literal)
{
    if (text.mid(i, literal.size()) != literal)
        return false;
    i += literal.size();
    return true;
}

// One part's header lines and content (between the delimiter lines).
std::optional<Part> parsePart(const QByteArray &text, bool eightBit)
{
    Part part;
    qsizetype i = 0;
    if (!expect(text, i, "Content-Disposition: form-data; name="))
        return std::nullopt;
    const auto name = quoted(text, i);
    if (!name)
        return std::nullopt;
    part.name = *name;
    if (expect(text, i, "; filename=")) {
        part.fileName = quoted(text, i);
        if (!part.fileName || !expect(text, i, Crlf + "Content-Type: "))
            return std::nullopt;
        const qsizetype end = text.indexOf(Crlf, i);
        if (end < 0)
            return std::nullopt;
        part.contentType = text.mid(i, end - i);
        i = end;
    } else if (eightBit && !expect(text, i, Crlf + "Content-Transfer-Encoding: 8bit")) {
        return std::nullopt;
    }
    if (!expect(text, i, Crlf + Crlf))
        return std::nullopt;
    part.content = text.mid(i);
    return part;
}

// The parts of a body: "--" boundary CRLF, then parts separated by CRLF "--" boundary CRLF, and
// CRLF "--" boundary "--" CRLF at the very end, with no preamble or epilogue.
QList<Part> parse(const QByteArray &body, const QByteArray &boundary, bool eightBit)
{
    const QByteArray delimiter = Crlf + "--" + boundary;
    QList<Part> parts;
    qsizetype i = 0;
    if (!expect(body, i, "--" + boundary + Crlf))
        fail("no opening boundary line", body);
    for (;;) {
        const qsizetype end = body.indexOf(delimiter, i);
        if (end < 0)
            fail("a part without a closing delimiter", body);
        const auto part = parsePart(body.mid(i, end - i), eightBit);
        if (!part)
            fail("a malformed part header", body);
        parts.append(*part);
        i = end + delimiter.size();
        if (expect(body, i, "--" + Crlf))
            break;
        if (!expect(body, i, Crlf))
            fail("a delimiter not followed by CRLF", body);
    }
    if (i != body.size())
        fail("bytes after the closing delimiter", body);
    return parts;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    MultipartBody form(boundariesFrom(input));
    const bool eightBit = input.ConsumeBool();
    form.setEightBitFields(eightBit);
    QList<Part> sent;
    for (int n = input.ConsumeIntegralInRange(1, MaxParts); n > 0; --n) {
        Part part;
        part.name = bytes(input);
        if (input.ConsumeBool()) {
            part.fileName = bytes(input);
            part.contentType = bytes(input, 64);
            part.content = bytes(input, size);
            form.addFile(part.name, *part.fileName, part.contentType, part.content);
            part.fileName = oneLine(*part.fileName);
            part.contentType = oneLine(part.contentType);
        } else {
            part.content = bytes(input, size);
            form.addField(part.name, part.content);
        }
        part.name = oneLine(part.name);
        sent.append(part);
    }
    const QByteArray body = form.body();
    if (form.contentType() != "multipart/form-data; boundary=" + form.boundary())
        fail("the content type names another boundary", body);
    if (parse(body, form.boundary(), eightBit) != sent)
        fail("the parts read back differ from those added", body);
    return 0;
}
