#include "shell/quorixstyle.h"

#include "widgets/qvantellazyicon.h"

#include <QPointer>
#include <QWidget>

QuorixStyle::QuorixStyle(const QString &baseName)
    : QProxyStyle(baseName)
{}

QIcon QuorixStyle::standardIcon(StandardPixmap which,
                                const QStyleOption *option,
                                const QWidget *widget) const
{
    // An option lives only for this call; the menu bar gives none.
    if (which != SP_ToolBarHorizontalExtensionButton || option)
        return QProxyStyle::standardIcon(which, option, widget);
    const QPointer<const QuorixStyle> style(this);
    const QPointer<const QWidget> asker(widget);
    const bool hadWidget = widget != nullptr;
    return QVantelLazyIcon::icon([style, asker, hadWidget, which] {
        // A widget gone by then is asked for no more.
        if (!style || (hadWidget && !asker))
            return QIcon();
        return style->QProxyStyle::standardIcon(which, nullptr, asker.data());
    });
}
