#pragma once

#include <QImage>
#include <QWidget>

// The light a widget gives off in its own picture, drawn without its background: every colour
// channel of every pixel, weighted by its cover (premultiplied), summed. A control drawn at
// opacity k gives k times the light.
inline double pictureLight(QWidget *widget)
{
    QImage picture(widget->size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    widget->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    double light = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            light += qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]);
    }
    return light;
}
