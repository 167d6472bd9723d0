#include "widgets/qvantellazyicon.h"

#include <QPainter>

QIcon QVantelLazyIcon::icon(const QString &path)
{
    return QIcon(new QVantelLazyIcon(path));
}

QVantelLazyIcon::QVantelLazyIcon(const QString &path)
    : m_path(path)
{}

QVantelLazyIcon::QVantelLazyIcon(const QVantelLazyIcon &other)
    : QIconEngine(other)
    , m_path(other.m_path)
    , m_icon(other.m_icon)
    , m_loaded(other.m_loaded)
{}

QVantelLazyIcon::~QVantelLazyIcon() = default;

const QIcon &QVantelLazyIcon::loaded()
{
    if (!m_loaded) {
        m_icon = QIcon(m_path);
        m_loaded = true;
    }
    return m_icon;
}

void QVantelLazyIcon::paint(QPainter *painter,
                            const QRect &rect,
                            QIcon::Mode mode,
                            QIcon::State state)
{
    // The rectangle is aligned already; centring it again within itself leaves it as it is.
    loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize QVantelLazyIcon::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return loaded().actualSize(size, mode, state);
}

QPixmap QVantelLazyIcon::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return loaded().pixmap(size, mode, state);
}

QPixmap
QVantelLazyIcon::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    if (scale <= 0)
        scale = 1;
    return loaded().pixmap((QSizeF(size) / scale).toSize(), scale, mode, state);
}

QList<QSize> QVantelLazyIcon::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return loaded().availableSizes(mode, state);
}

bool QVantelLazyIcon::isNull()
{
    return loaded().isNull();
}

QString QVantelLazyIcon::key() const
{
    return QStringLiteral("QVantelLazyIcon");
}

QIconEngine *QVantelLazyIcon::clone() const
{
    return new QVantelLazyIcon(*this);
}
