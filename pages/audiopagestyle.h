#pragma once

#include "pages/matrixrowlock.h"
#include "widgets/qvantelvirtual.h"

#include <QPalette>
#include <QString>

#include <array>

class QFont;
class QLabel;
class QVantelButton;
class QWidget;

// Look shared by the audio pages: fonts at a pixel size, the greyed text of controls the
// device cannot serve, and the navigation bar of the input, auxiliary and output pages.
namespace AudioPageStyle {

// Window-text colour of a greyed control.
inline constexpr int kGreyLevel = 127;

// The widget's font at the given pixel size.
[[nodiscard]] QFont pixelFont(const QWidget *widget, int pixels);
// A copy of palette whose window text is grey.
[[nodiscard]] QPalette greyed(QPalette palette);
// A label with the page's font at pixels, centred unless alignment says otherwise.
QLabel *makeLabel(const QString &text,
                  QWidget *page,
                  const QRect &geometry,
                  int pixels = 14,
                  Qt::Alignment alignment = Qt::AlignCenter);

// The navigation bar at y 407: "Input\nSettings" (230), "Aux\nSettings" (351),
// "Output\nSettings" (472) and the back icon (692). The button of the current page (0 to 2) is
// drawn without a fill and with white text; the others white with black text. Buttons in the
// order above; the caller connects them.
std::array<QVantelButton *, 4> makeNavigationBar(QWidget *page, int current);

// The lock of a page's controls that write matrix rows the unit has not sent, with its notice
// under the status strip.
MatrixRowLock *makeRowLock(QWidget *page, MatrixRowLock::Describe describe);
// The same for controls that write input rows or the master gains: the notice names the inputs
// and the master gains.
MatrixRowLock *makeInputRowLock(QWidget *page);

} // namespace AudioPageStyle

namespace AudioPageStyle {

// Opens the on-screen keyboard that renames the input shown on button: text mode,
// application-modal, centred on the page and flush with its bottom edge, carrying the button as
// its item. The button's first text line becomes the title; with exactly two lines the second
// (the device-given name) starts the edit field. The page's handler is connected to
// popupClosed(); the keyboard deletes itself once closed.
template<typename Handler>
QVantelVirtual *openRenameKeyboard(QWidget *page, QVantelButton *button, Handler handler);

QVantelVirtual *makeRenameKeyboard(QWidget *page, QVantelButton *button);

} // namespace AudioPageStyle

template<typename Handler>
QVantelVirtual *
AudioPageStyle::openRenameKeyboard(QWidget *page, QVantelButton *button, Handler handler)
{
    QVantelVirtual *keyboard = makeRenameKeyboard(page, button);
    QObject::connect(
        keyboard, &QVantelVirtual::popupClosed, page, [keyboard, handler] { handler(keyboard); });
    keyboard->show();
    return keyboard;
}
