#pragma once

#include <QProxyStyle>

// Style of the slim scroll bar: a 10-pixel bar extent and scroll-bar sizes taken as given;
// everything else comes from the application's style.
class QVantelSlideStyle : public QProxyStyle
{
    Q_OBJECT

public:
    QVantelSlideStyle();
    ~QVantelSlideStyle() override;

    int pixelMetric(PixelMetric metric,
                    const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type,
                           const QStyleOption *option,
                           const QSize &size,
                           const QWidget *widget) const override;

private:
    Q_DISABLE_COPY_MOVE(QVantelSlideStyle)
};
