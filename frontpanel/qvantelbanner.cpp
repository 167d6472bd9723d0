#include "frontpanel/qvantelbanner.h"

#include <QGridLayout>
#include <QLabel>

QVantelBanner::QVantelBanner(QWidget *parent)
    : QWidget(parent)
{
    m_link1.link = 1;
    m_link2.link = 2;
    setAutoFillBackground(true);
    setupUi();
}

QVantelBanner::~QVantelBanner() = default;

void QVantelBanner::setupUi()
{
    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Window, QColor(50, 50, 50));
    p.setBrush(QPalette::All, QPalette::WindowText, QColor(Qt::white));
    setPalette(p);
    QFont f = font();
    f.setPixelSize(14);
    f.setWeight(QFont::Normal);
    setFont(f);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 2, 10, 2);
    grid->setHorizontalSpacing(10);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
    grid->setAlignment(Qt::AlignTop);

    const auto makeLabel = [this, grid](const char *name, int row, int column) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        // Remote parties and interface names come from the device and the user: shown as they
        // are, never read as markup.
        label->setTextFormat(Qt::PlainText);
        grid->addWidget(label, row, column);
        return label;
    };
    m_role1 = makeLabel("roleLabel1", 0, 0);
    m_role2 = makeLabel("roleLabel2", 1, 0);
    m_text1 = makeLabel("linkLabel1", 0, 1);
    m_text2 = makeLabel("linkLabel2", 1, 1);
}

const QVantelBanner::LinkRecord &QVantelBanner::record(int link) const
{
    return link == 1 ? m_link1 : m_link2;
}

QLabel *QVantelBanner::roleLabel(int row) const
{
    return row == 1 ? m_role1 : m_role2;
}

QLabel *QVantelBanner::linkLabel(int link) const
{
    return link == 1 ? m_text1 : m_text2;
}

void QVantelBanner::setCodecMode(int routingCode, int coordinationMode)
{
    const bool stereo = routingCode == 2 || routingCode == 4;
    QString row1 = tr("Program");
    bool link2Used = true;
    if (routingCode == 1) {
        link2Used = false;
    } else if (stereo) {
        row1 = coordinationMode == 0 ? tr("Program / Coord") : tr("Prog. L/R");
        link2Used = false;
    } else if (coordinationMode != 0 && (routingCode == 32 || routingCode == 64)) {
        row1 = tr("Prog. L/R");
    }
    m_role1->setText(row1);
    if (link2Used) {
        m_role2->setText(tr("Coord"));
        m_role2->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    } else {
        m_role2->setText(QStringLiteral("- - -"));
        m_role2->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    }
    m_text2->setVisible(link2Used);
}

void QVantelBanner::setLinkState(int link, int state)
{
    LinkRecord &record = recordOf(link);
    if (record.state == state)
        return;
    record.state = state;
    updateLinkText(record.link);
}

void QVantelBanner::setLinkNames(int link, const QString &interfaceText, const QString &codingText)
{
    LinkRecord &record = recordOf(link);
    if (record.interfaceText == interfaceText && record.codingText == codingText)
        return;
    record.interfaceText = interfaceText;
    record.codingText = codingText;
    updateLinkText(record.link);
}

void QVantelBanner::setLinkDetail(int link, const QString &detailText)
{
    LinkRecord &record = recordOf(link);
    if (record.detailText == detailText)
        return;
    record.detailText = detailText;
    updateLinkText(record.link);
}

void QVantelBanner::updateLinkText(int link)
{
    const LinkRecord &record = recordOf(link);
    QString state;
    switch (record.state) {
    case 3:
        state = tr("Connecting");
        break;
    case 4:
    case 5:
        state = tr("Connected");
        break;
    case 6:
        state = tr("Releasing");
        break;
    default:
        state = tr("Idle");
        break;
    }
    QString text = record.interfaceText + QLatin1String(" / ") + record.codingText
                   + QLatin1Char('\n') + state;
    if (!record.detailText.isEmpty())
        text += QLatin1String(" / ") + record.detailText;
    linkLabel(record.link)->setText(text);
}
