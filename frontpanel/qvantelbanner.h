#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// The dark strip of the main page that sums up the two call links in two rows: on the left the
// role each row stands for in the current audio routing ("Program", "Coord", ...), on the right
// the link's network and coding, its call state and the remote party.
//
// It holds no model object: the main page and the front-panel window push everything through
// the setters, and each setter redraws only the link it touched and only on a real change. Any
// link number other than 1 means link 2. The labels are children of the banner. No signals.
class QVantelBanner : public QWidget
{
    Q_OBJECT

public:
    struct LinkRecord
    {
        int link = 1;
        int state = 0;
        QString interfaceText;
        QString codingText;
        QString detailText;
    };

    explicit QVantelBanner(QWidget *parent = nullptr);
    ~QVantelBanner() override;
    Q_DISABLE_COPY_MOVE(QVantelBanner)

    // Role labels from the audio routing code (1, 2, 4, 8, 16, 32, 64) and the coordination
    // mode (0 off, other values on).
    void setCodecMode(int routingCode, int coordinationMode);
    void setLinkState(int link, int state);
    void setLinkNames(int link, const QString &interfaceText, const QString &codingText);
    void setLinkDetail(int link, const QString &detailText);
    // Redraws one link's text from its record.
    void updateLinkText(int link);

    [[nodiscard]] const LinkRecord &record(int link) const;
    [[nodiscard]] QLabel *roleLabel(int row) const;
    [[nodiscard]] QLabel *linkLabel(int link) const;

private:
    void setupUi();
    LinkRecord &recordOf(int link) { return link == 1 ? m_link1 : m_link2; }

    QLabel *m_role1 = nullptr;
    QLabel *m_role2 = nullptr;
    QLabel *m_text1 = nullptr;
    QLabel *m_text2 = nullptr;
    LinkRecord m_link1;
    LinkRecord m_link2;
};
