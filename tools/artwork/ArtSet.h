#pragma once

#include <QImage>
#include <QMap>
#include <QString>

// The pictures painted in one run, by resource file name ("bt_play.png").
class ArtSet
{
public:
    // A transparent picture of the given size, ready to paint on.
    static QImage canvas(int width, int height);

    void add(const QString &name, const QImage &image);
    const QImage &image(const QString &name) const;
    QStringList names() const { return m_images.keys(); }

    // Writes every picture as PNG into dir, opaque pictures without an alpha channel.
    bool save(const QString &dir) const;

private:
    QMap<QString, QImage> m_images;
};
