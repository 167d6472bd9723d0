#pragma once

#include <QIcon>
#include <QProxyStyle>

// The program's style: the desktop's own, except that the menu bar's extension arrow is made when
// it is first needed. A menu bar asks for that icon as it is built, and reading the icon's image
// loads every installed image plug-in, about a millisecond of the time to the first frame; the
// window's menu bar fits its width, so the arrow is seldom shown at all.
class QuorixStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Over the style of that name (as QStyleFactory knows it).
    explicit QuorixStyle(const QString &baseName);

    QIcon standardIcon(StandardPixmap which,
                       const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
