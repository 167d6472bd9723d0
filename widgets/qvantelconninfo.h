#pragma once

#include <QWidget>

class QLabel;

// The large tile of a connection panel: a rounded field coloured by the link state holding the
// link's title (22-pixel bold), a state text and the remote address (14 pixels, word-wrapped),
// with a phone icon in the top-left corner while a call is up (state 2) or ending (3 to 5).
//
// The labels are children of the tile; their texts are set by the owning panel through the
// label accessors. Signal: clicked() on every mouse-button release inside the tile, whichever
// label lies under the pointer; the release is accepted.
class QVantelConnInfo : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelConnInfo(QWidget *parent = nullptr);
    ~QVantelConnInfo() override;
    Q_DISABLE_COPY_MOVE(QVantelConnInfo)

    int borderWidth() const { return m_borderWidth; }
    // Accepted when 1 or more; repaints when changed.
    void setBorderWidth(int width);

    qreal radius() const { return m_radius; }
    // Accepted when 0 or more; repaints when changed.
    void setRadius(qreal radius);

    int state() const { return m_state; }
    // Recolours the fill by the link-state table (black text) and picks the corner icon; does
    // nothing when the state is unchanged.
    void setState(int state);

    QLabel *titleLabel() const { return m_titleLabel; }
    QLabel *stateLabel() const { return m_stateLabel; }
    QLabel *addressLabel() const { return m_addressLabel; }
    // The corner icon; hidden for states without one.
    QLabel *iconLabel() const { return m_iconLabel; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyState();

    int m_borderWidth = 1;
    qreal m_radius = 15.0;
    int m_state = 0;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_stateLabel = nullptr;
    QLabel *m_addressLabel = nullptr;
    QLabel *m_iconLabel = nullptr;
};
