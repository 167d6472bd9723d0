#include "widgets/qvantellazyicon.h"

#include "widgets/qvantelimage.h"

#include <QPainter>

#include <utility>

QIcon QVantelLazyIcon::icon(const QString &path)
{
    return QIcon(new QVantelLazyIcon(path));
}

QIcon QVantelLazyIcon::icon(std::function<QIcon()> make)
{
    return QIcon(new QVantelLazyIcon(std::move(make)));
}

QVantelLazyIcon::QVantelLazyIcon(const QString &path)
    : m_make([path] {
        // Whatever cannot be read as an image answers as the toolkit's own icon of that path.
        const QPixmap image = qvantelPixmap(path);
        return image.isNull() ? QIcon(path) : QIcon(image);
    })
{}

QVantelLazyIcon::QVantelLazyIcon(std::function<QIcon()> make)
    : m_make(std::move(make))
{}

QVantelLazyIcon::QVantelLazyIcon(const QVantelLazyIcon &other)
    : QIconEngine(other)
    , m_make(other.m_make)
    , m_icon(other.m_icon)
    , m_loaded(other.m_loaded)
{}

QVantelLazyIcon::~QVantelLazyIcon() = default;

const QIcon &QVantelLazyIcon::loaded()
{
    if (!m_loaded) {
        if (m_make)
            m_icon = m_make();
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
