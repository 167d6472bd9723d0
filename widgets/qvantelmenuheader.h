#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QMouseEvent;
class QVantelMenuWidget;

// The header of a menu widget: back icon, title path, apply icon and refresh icon.
//
// A tap (mouse release) on an icon calls the owner menu widget's backClicked, applyClicked or
// refreshClicked hook. The modified mark turns the title red and shows the apply icon; the
// refresh icon shows while the owner wants it; the back icon shows while the title path holds
// two or more titles (the owner decides). The apply icon's room is kept while it is hidden, so
// the title is laid out alike with and without the mark.
class QVantelMenuHeader : public QWidget
{
    Q_OBJECT

public:
    class QMyLabel : public QLabel
    {
    public:
        explicit QMyLabel(QVantelMenuHeader *header, QWidget *parent = nullptr);
        ~QMyLabel() override;

    protected:
        void mouseReleaseEvent(QMouseEvent *event) override;

    private:
        QPointer<QVantelMenuHeader> m_header;
    };

    explicit QVantelMenuHeader(QVantelMenuWidget *parent);
    ~QVantelMenuHeader() override;

    bool isModified() const { return m_modified; }
    bool isRefreshVisible() const { return m_refreshVisible; }
    void setModified(bool on);
    void setRefreshVisible(bool on);
    void setBackVisible(bool on);

    QLabel *titleLabel() const { return m_title; }
    QMyLabel *backIcon() const { return m_back; }
    QMyLabel *applyIcon() const { return m_apply; }
    QMyLabel *refreshIcon() const { return m_refresh; }

    // Runs the owner's hook for one of the three icons.
    void iconClicked(QMyLabel *icon);

private:
    bool m_modified = false;
    bool m_refreshVisible = false;
    QPointer<QVantelMenuWidget> m_menu;
    QHBoxLayout *m_box = nullptr;
    QMyLabel *m_back = nullptr;
    QLabel *m_title = nullptr;
    QMyLabel *m_apply = nullptr;
    QMyLabel *m_refresh = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelMenuHeader)
};
