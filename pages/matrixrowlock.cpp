#include "pages/matrixrowlock.h"

#include "widgets/qvantelimage.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace {

bool sameRow(const TMatrixSettings::RowId &a, const TMatrixSettings::RowId &b)
{
    return a.row == b.row && a.index == b.index;
}

// Lies over a held control: draws it dimmed, as a disabled control is drawn, and passes taps
// and wheel steps on to its parent instead of the control (so a swipe still starts on it).
class Veil : public QWidget
{
public:
    explicit Veil(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("rowVeil"));
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 0, int(255 * (1.0 - kQVantelDisabledOpacity))));
    }
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            event->ignore();
            return false;
        default:
            return QWidget::event(event);
        }
    }
};

} // namespace

MatrixRowLock::MatrixRowLock(QWidget *page, QLabel *notice, Describe describe)
    : QObject(page)
    , m_page(page)
    , m_notice(notice)
    , m_describe(std::move(describe))
{
    m_notice->hide();
    m_page->installEventFilter(this);
    TMatrixSettings *matrix = matrixSettings();
    connect(matrix, &TComController::controllerStateChanged, this, &MatrixRowLock::refresh);
    connect(matrix, &TMatrixSettings::rowReceived, this, &MatrixRowLock::refresh);
    connect(matrix, &TMatrixSettings::readFailed, this, &MatrixRowLock::refresh);
}

MatrixRowLock::~MatrixRowLock() = default;

QLabel *MatrixRowLock::makeNotice(QWidget *page, const QRect &geometry)
{
    auto *notice = new QLabel(page);
    notice->setObjectName(QStringLiteral("rowNotice"));
    notice->setGeometry(geometry);
    notice->setAlignment(Qt::AlignCenter);
    notice->setTextFormat(Qt::PlainText);
    QFont font = notice->font();
    font.setPixelSize(14);
    notice->setFont(font);
    QPalette palette = notice->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 176, 0));
    notice->setPalette(palette);
    notice->hide();
    return notice;
}

QString MatrixRowLock::listText(const QStringList &parts)
{
    if (parts.size() < 2)
        return parts.join(QString());
    return tr("%1 and %2")
        .arg(parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")), parts.last());
}

void MatrixRowLock::addControl(QWidget *control, std::vector<RowId> rows)
{
    if (!control || find(control))
        return;
    m_controls.push_back(Control{control, std::move(rows), nullptr});
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject *gone) {
        m_controls.erase(std::remove_if(m_controls.begin(),
                                        m_controls.end(),
                                        [gone](const Control &c) { return c.widget == gone; }),
                         m_controls.end());
    });
    refresh();
}

MatrixRowLock::Control *MatrixRowLock::find(const QObject *widget)
{
    const auto found = std::find_if(m_controls.begin(),
                                    m_controls.end(),
                                    [widget](const Control &c) { return c.widget == widget; });
    return found == m_controls.end() ? nullptr : &*found;
}

bool MatrixRowLock::isHeld(const QWidget *control) const
{
    return std::any_of(m_controls.begin(), m_controls.end(), [control](const Control &c) {
        return c.widget == control && c.veil;
    });
}

std::vector<MatrixRowLock::RowId> MatrixRowLock::missingRows(bool shownOnly) const
{
    const TMatrixSettings *matrix = matrixSettings();
    std::vector<RowId> missing;
    for (const Control &control : m_controls) {
        if (shownOnly && !control.widget->isVisibleTo(m_page))
            continue;
        for (const RowId &id : control.rows) {
            const auto same = [&id](const RowId &other) { return sameRow(id, other); };
            if (matrix->isRowMissing(id.row, id.index)
                && std::none_of(missing.begin(), missing.end(), same)) {
                missing.push_back(id);
            }
        }
    }
    return missing;
}

void MatrixRowLock::placeVeil(const Control &control)
{
    control.veil->setGeometry(control.widget->geometry());
    control.veil->setVisible(control.widget->isVisibleTo(control.widget->parentWidget()));
    control.veil->raise();
}

void MatrixRowLock::hold(Control &control, bool held)
{
    if (held == (control.veil != nullptr))
        return;
    if (!held) {
        delete control.veil;
        control.veil = nullptr;
        return;
    }
    // A held control keeps no focus, so no key or front-panel knob turns it either.
    if (control.widget->hasFocus())
        control.widget->clearFocus();
    control.veil = new Veil(control.widget->parentWidget());
    placeVeil(control);
}

void MatrixRowLock::refresh()
{
    const TMatrixSettings *matrix = matrixSettings();
    for (Control &control : m_controls) {
        const bool missing
            = std::any_of(control.rows.begin(), control.rows.end(), [matrix](const RowId &id) {
                  return matrix->isRowMissing(id.row, id.index);
              });
        hold(control, missing);
    }
    showNotice();
}

void MatrixRowLock::showNotice()
{
    const std::vector<RowId> missing = missingRows(true);
    if (missing.empty()) {
        m_notice->hide();
        return;
    }
    m_notice->setText(matrixSettings()->readHasFailed()
                          ? tr("The unit did not send its routing matrix.")
                          : m_describe(missing));
    m_notice->show();
    m_notice->raise();
}

void MatrixRowLock::readMissingLater()
{
    if (m_readPending || missingRows().empty())
        return;
    m_readPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_readPending = false;
            matrixSettings()->readMissingRows(missingRows());
            refresh();
        },
        Qt::QueuedConnection);
}

bool MatrixRowLock::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page) {
        if (event->type() == QEvent::Show)
            readMissingLater();
        return false;
    }
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        // A control the page brings in or takes away changes what the notice names.
        showNotice();
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange:
        if (Control *control = find(watched); control && control->veil)
            placeVeil(*control);
        break;
    case QEvent::FocusIn:
        // Focus that reaches a held control by other means than a tap is given up at once.
        if (Control *control = find(watched); control && control->veil)
            control->widget->clearFocus();
        break;
    default:
        break;
    }
    return false;
}
