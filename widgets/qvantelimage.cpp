#include "widgets/qvantelimage.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmapCache>

QPixmap qvantelPixmap(const QString &path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format.isEmpty())
        return QPixmap(path);

    const QString key = QStringLiteral("qvantelPixmap:") + path;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImageReader reader(path, format);
    // Named by its format, the image goes to the reader for that format alone.
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        return QPixmap();
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}
