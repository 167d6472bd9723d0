#include "widgets/qvantelvirtual.h"

#include "widgets/qvantelbutton.h"

#include <QLabel>
#include <QShowEvent>

namespace {

using KeyTable = std::array<const char *, QVantelVirtual::kKeyCount>;

// Captions of the 32 keys, in rows of the keyboard; an empty caption hides the key. Keys 0 to 25
// and 30 type their caption.
// clang-format off
constexpr KeyTable kLowerCase = {
    "q", "w", "e", "r", "t", "y", "u", "i", "o", "p",
    "a", "s", "d", "f", "g", "h", "j", "k", "l", "z",
    "x", "c", "v", "b", "n", "m",
    "Caps", "Backspace", "Cancel", "12!?", " ", "OK"};

constexpr KeyTable kUpperCase = {
    "Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
    "A", "S", "D", "F", "G", "H", "J", "K", "L", "Z",
    "X", "C", "V", "B", "N", "M",
    "Caps", "Backspace", "Cancel", "12!?", " ", "OK"};

constexpr KeyTable kSymbols1 = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
    "@", "&", "%", "=", "+", "-", "*", "/", "(", ")",
    ",", ":", ";", "_", "\\", ".",
    "1 / 2", "Backspace", "Cancel", "Abc", " ", "OK"};

constexpr KeyTable kSymbols2 = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
    "#", "$", "~", "[", "]", "{", "}", "<", ">", "|",
    ",", "!", "?", "'", "\"", ".",
    "2 / 2", "Backspace", "Cancel", "Abc", " ", "OK"};

constexpr KeyTable kNumericPad = {
    "", "", "", "", "@", "1", "2", "3", ".", "+",
    "", "", "", "", ":", "4", "5", "6", "*", "#",
    "", "", ",", "7", "8", "9",
    "", "Backspace", "Cancel", "Abc", "0", "OK"};
// clang-format on

constexpr int kKeyCaps = 26;
constexpr int kKeyBackspace = 27;
constexpr int kKeyCancel = 28;
constexpr int kKeyLayout = 29;
constexpr int kKeySpace = 30;
constexpr int kKeyOk = 31;

bool isCharacterKey(int index)
{
    return (index >= 0 && index <= 25) || index == kKeySpace;
}

QRect keyGeometry(int index, int mode)
{
    constexpr int rowY[] = {70, 150, 230, 310};
    constexpr int height = 64;
    if (index < 10)
        return {8 + 80 * index, rowY[0], 64, height};
    if (index < 20)
        return {8 + 80 * (index - 10), rowY[1], 64, height};
    if (index < 26)
        return {168 + 80 * (index - 20), rowY[2], 64, height};
    switch (index) {
    case kKeyCaps:
        return {8, rowY[2], 144, height};
    case kKeyBackspace:
        return {648, rowY[2], 144, height};
    case kKeyCancel:
        return {8, rowY[3], 144, height};
    case kKeyLayout:
        return {168, rowY[3], 64, height};
    case kKeySpace:
        return mode == 0 ? QRect(488, rowY[3], 64, height) : QRect(248, rowY[3], 384, height);
    default:
        return {648, rowY[3], 144, height};
    }
}

} // namespace

QVantelVirtual::QMyLineEdit::QMyLineEdit(QWidget *parent)
    : QLineEdit(parent)
{}

QVantelVirtual::QMyLineEdit::~QMyLineEdit() = default;

QVantelVirtual::QVantelVirtual(int mode, QWidget *parent)
    : QVantelPopup(parent)
    , m_mode(mode)
{
    setPanelLook(QSize(800, 390));

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setObjectName(QStringLiteral("vkb_title"));
    m_title->setGeometry(8, 15, 304, 40);
    m_title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(18);
    m_title->setFont(titleFont);

    QFont bigFont = font();
    bigFont.setPixelSize(22);

    m_edit = new QMyLineEdit(this);
    m_edit->setObjectName(QStringLiteral("vkb_edit"));
    m_edit->setGeometry(327, 15, 466, 40);
    m_edit->setFrame(false);
    m_edit->setFont(bigFont);
    // Dark text on a light field, whatever palette the owner's window passes on.
    QPalette editPalette = m_edit->palette();
    editPalette.setColor(QPalette::Base, Qt::white);
    editPalette.setColor(QPalette::Text, Qt::black);
    m_edit->setPalette(editPalette);

    for (int i = 0; i < kKeyCount; ++i) {
        auto *button = new QVantelButton(this);
        button->setObjectName(QStringLiteral("vkb_button%1").arg(i));
        button->setProperty("vkb_button", i);
        button->setGeometry(keyGeometry(i, mode));
        button->setFont(bigFont);
        button->setBorderWidth(2);
        button->setRadius(10.0);
        QPalette keyPalette = button->palette();
        // Character keys are a white outline on the panel; function keys are filled in the
        // panel's grey, dark enough for their white captions.
        if (isCharacterKey(i))
            keyPalette.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
        else
            keyPalette.setBrush(QPalette::Window, QBrush(QColor(127, 127, 127)));
        keyPalette.setColor(QPalette::WindowText, Qt::white);
        button->setPalette(keyPalette);
        connect(button, &QAbstractButton::clicked, this, [this, i] { buttonClicked(i); });
        m_keys[static_cast<size_t>(i)] = button;
    }

    selectLayout(0);
}

QVantelVirtual::~QVantelVirtual() = default;

QVantelButton *QVantelVirtual::key(int index) const
{
    if (index < 0 || index >= kKeyCount)
        return nullptr;
    return m_keys[static_cast<size_t>(index)];
}

void QVantelVirtual::selectLayout(int layout)
{
    if (layout < 1 || layout > 3)
        layout = 0;
    const KeyTable *table = &kLowerCase;
    if (m_mode == 0)
        table = &kNumericPad;
    else if (layout == 1)
        table = &kUpperCase;
    else if (layout == 2)
        table = &kSymbols1;
    else if (layout == 3)
        table = &kSymbols2;

    for (int i = 0; i < kKeyCount; ++i) {
        const char *caption = (*table)[static_cast<size_t>(i)];
        QVantelButton *button = m_keys[static_cast<size_t>(i)];
        button->setText(QString::fromLatin1(caption));
        button->setVisible(caption[0] != '\0');
    }
    m_layout = layout;
}

void QVantelVirtual::buttonClicked(int index)
{
    if (index < 0 || index >= kKeyCount)
        return;

    if (isCharacterKey(index)) {
        m_edit->insert(m_keys[static_cast<size_t>(index)]->text());
        return;
    }
    switch (index) {
    case kKeyCaps:
        selectLayout(m_layout ^ 1);
        break;
    case kKeyBackspace:
        m_edit->backspace();
        break;
    case kKeyCancel:
        hide();
        close();
        break;
    case kKeyLayout:
        if (m_mode == 0) {
            m_mode = 1;
            QVantelButton *space = m_keys[kKeySpace];
            space->setGeometry(space->x() - 240, space->y(), 384, space->height());
            selectLayout(0);
        } else {
            selectLayout(m_layout >= 2 ? 0 : 2);
        }
        break;
    case kKeyOk:
        clearCancelled();
        hide();
        close();
        break;
    default:
        break;
    }
}

void QVantelVirtual::showEvent(QShowEvent *event)
{
    QVantelPopup::showEvent(event);
    if (!event->spontaneous()) {
        m_edit->setFocus();
        m_edit->end(false);
    }
}
