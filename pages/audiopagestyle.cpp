#include "pages/audiopagestyle.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantellocalize.h"

#include <QLabel>
#include <QStringList>

namespace AudioPageStyle {

QFont pixelFont(const QWidget *widget, int pixels)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    return font;
}

QPalette greyed(QPalette palette)
{
    palette.setBrush(QPalette::All,
                     QPalette::WindowText,
                     QBrush(QColor(kGreyLevel, kGreyLevel, kGreyLevel, 255)));
    return palette;
}

QLabel *makeLabel(
    const QString &text, QWidget *page, const QRect &geometry, int pixels, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, page);
    label->setFont(pixelFont(page, pixels));
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

std::array<QVantelButton *, 4> makeNavigationBar(QWidget *page, int current)
{
    static const char *const texts[] = {"Input\nSettings", "Aux\nSettings", "Output\nSettings"};
    static const char *const names[]
        = {"inputSettingsButton", "auxSettingsButton", "outputSettingsButton", "backButton"};
    static const int xs[] = {230, 351, 472, 692};
    std::array<QVantelButton *, 4> buttons{};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QVantelButton(page);
        button->setObjectName(QLatin1String(names[i]));
        button->setGeometry(xs[i], 407, 98, 66);
        button->setBorderWidth(4);
        button->setFont(pixelFont(page, 14));
        QPalette palette = button->palette();
        if (i == current) {
            palette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::NoBrush));
            palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::white));
        } else {
            palette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::white));
            palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::black));
        }
        button->setPalette(palette);
        if (i < 3)
            button->setText(QWidget::tr(texts[i]));
        else
            button->setIcon(QVantelLazyIcon::icon(QStringLiteral(":/images/back.png")));
        buttons[size_t(i)] = button;
    }
    return buttons;
}

MatrixRowLock *makeRowLock(QWidget *page, MatrixRowLock::Describe describe)
{
    // Between the status strip and the column headings.
    QLabel *notice = MatrixRowLock::makeNotice(page, QRect(132, 63, 534, 24));
    return new MatrixRowLock(page, notice, std::move(describe));
}

MatrixRowLock *makeInputRowLock(QWidget *page)
{
    return makeRowLock(page, [](const std::vector<MatrixRowLock::RowId> &missing) {
        QStringList names;
        bool masterGains = false;
        for (const MatrixRowLock::RowId &id : missing) {
            if (id.row == TMatrixSettings::Row::Input)
                names << QVantelLocalize::inputName(id.index);
            else if (id.row == TMatrixSettings::Row::MasterGain)
                masterGains = true;
        }
        QStringList parts;
        if (!names.isEmpty())
            parts << QWidget::tr("its settings of %1").arg(MatrixRowLock::listText(names));
        if (masterGains)
            parts << QWidget::tr("its master gains");
        return QWidget::tr("The unit did not send %1.").arg(MatrixRowLock::listText(parts));
    });
}

} // namespace AudioPageStyle

QVantelVirtual *AudioPageStyle::makeRenameKeyboard(QWidget *page, QVantelButton *button)
{
    auto *keyboard = new QVantelVirtual(1, page);
    keyboard->setWindowModality(Qt::ApplicationModal);
    const QPoint origin = page->mapToGlobal(QPoint(0, 0));
    keyboard->move(origin.x() + (page->width() - keyboard->width()) / 2,
                   origin.y() + page->height() - keyboard->height());
    keyboard->setItem(button);
    const QStringList parts = button->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!parts.isEmpty())
        keyboard->titleLabel()->setText(parts.first());
    if (parts.size() == 2)
        keyboard->lineEdit()->setText(parts.at(1));
    return keyboard;
}
