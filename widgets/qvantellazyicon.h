#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QString>

#include <functional>

// An icon read from an image file when it is first needed (painted, sized, asked for a pixmap)
// rather than when it is made: pages build many buttons whose images the first frame does not
// show. It answers exactly as QIcon(path) does, reading the file at the first question. It can
// also stand for any icon that is costly to make, made by a function at the first question.
class QVantelLazyIcon : public QIconEngine
{
public:
    // The icon of the image file at path.
    [[nodiscard]] static QIcon icon(const QString &path);
    // The icon make returns, made at the first question.
    [[nodiscard]] static QIcon icon(std::function<QIcon()> make);

    explicit QVantelLazyIcon(const QString &path);
    explicit QVantelLazyIcon(std::function<QIcon()> make);
    QVantelLazyIcon(const QVantelLazyIcon &other);
    QVantelLazyIcon &operator=(const QVantelLazyIcon &) = delete;
    ~QVantelLazyIcon() override;

    [[nodiscard]] bool isLoaded() const { return m_loaded; }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap
    scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QString key() const override;
    QIconEngine *clone() const override;

private:
    const QIcon &loaded();

    std::function<QIcon()> m_make;
    QIcon m_icon;
    bool m_loaded = false;
};
