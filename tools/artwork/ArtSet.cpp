#include "ArtSet.h"

#include <QDir>
#include <QImageWriter>
#include <QTextStream>

namespace {

bool isOpaque(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                return false;
        }
    }
    return true;
}

} // namespace

int ArtSet::s_pixelRatio = 1;

ArtSet::ArtSet(int pixelRatio)
{
    s_pixelRatio = pixelRatio;
}

QImage ArtSet::canvas(int width, int height)
{
    QImage image(width * s_pixelRatio, height * s_pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(s_pixelRatio);
    image.fill(Qt::transparent);
    return image;
}

QString ArtSet::fileName(const QString &name)
{
    if (s_pixelRatio == 1)
        return name;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QStringLiteral("@%1x").arg(s_pixelRatio) + name.mid(dot);
}

void ArtSet::add(const QString &name, const QImage &image)
{
    m_images.insert(name, image);
}

const QImage &ArtSet::image(const QString &name) const
{
    const auto it = m_images.constFind(name);
    Q_ASSERT(it != m_images.constEnd());
    return *it;
}

bool ArtSet::save(const QString &dir) const
{
    QDir().mkpath(dir);
    for (auto it = m_images.constBegin(); it != m_images.constEnd(); ++it) {
        QImage out = it.value().convertToFormat(QImage::Format_ARGB32);
        if (isOpaque(out))
            out = out.convertToFormat(QImage::Format_RGB888);
        QImageWriter writer(QDir(dir).filePath(fileName(it.key())), "png");
        // Quality 0 asks the PNG writer for its strongest compression.
        writer.setQuality(0);
        if (!writer.write(out)) {
            QTextStream(stderr) << "cannot write " << writer.fileName() << ": "
                                << writer.errorString() << "\n";
            return false;
        }
    }
    return true;
}
