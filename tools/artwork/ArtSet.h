#pragma once

#include <QImage>
#include <QMap>
#include <QString>

// The pictures painted in one run, by resource file name ("bt_play.png").
// A run paints at one pixel ratio: 1 for "name.png", 2 for "name@2x.png", which Qt picks on
// screens scaled by two. Painters work in the same logical pixels either way.
class ArtSet
{
public:
    explicit ArtSet(int pixelRatio);

    // A transparent picture of the given logical size, ready to paint on at the run's ratio.
    static QImage canvas(int width, int height);
    static QImage canvas(const QSize &size) { return canvas(size.width(), size.height()); }
    static int pixelRatio() { return s_pixelRatio; }

    void add(const QString &name, const QImage &image);
    const QImage &image(const QString &name) const;
    QStringList names() const { return m_images.keys(); }

    // Writes every picture as PNG into dir ("@2x" before the suffix at ratio 2), opaque
    // pictures without an alpha channel.
    bool save(const QString &dir) const;

    // The file name of a picture at the run's ratio: "bt_play.png" or "bt_play@2x.png".
    static QString fileName(const QString &name);

private:
    static int s_pixelRatio;
    QMap<QString, QImage> m_images;
};
