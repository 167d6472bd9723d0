#pragma once

#include "widgets/qvantelpopup.h"

#include <QList>
#include <QString>

class QKeyEvent;
class QMouseEvent;
class QVantelAudio;
class QVantelButton;
class QWheelEvent;

// The popup in which the operator picks one source of a headphone mix with the rotary encoder
// ('+' and '-' keys, or the mouse wheel) and cycles the ears it is heard on (Return, Enter, the
// encoder's push key 352, or a right click). The opener adds the choices (value and text, kept in
// the order added), sets the current one, shows the popup and reads selectedValue() and
// selectedPanning() in its popupClosed() slot; both keep -1 and 0 unless OK closed the popup.
// The popup never touches the model; it deletes itself after closing.
class QVantelHeadphoneSelect : public QVantelPopup
{
    Q_OBJECT

public:
    // The encoder's push key.
    static constexpr int kEncoderKey = 352;

    struct Choice
    {
        int value = -1;
        QString text;
    };

    explicit QVantelHeadphoneSelect(QWidget *parent = nullptr);
    ~QVantelHeadphoneSelect() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphoneSelect)

    void addItem(int value, const QString &text);
    // Removes the first choice of this value; the current index is left as it is.
    void removeItem(int value);
    // Shows the prompt with both ears, then the first choice of this value when there is one.
    void setCurrent(int value);

    [[nodiscard]] const QList<Choice> &items() const { return m_items; }
    [[nodiscard]] int currentIndex() const { return m_currentIndex; }
    [[nodiscard]] QVantelAudio *display() const { return m_display; }
    [[nodiscard]] int selectedValue() const { return m_selectedValue; }
    [[nodiscard]] int selectedPanning() const { return m_selectedPanning; }
    [[nodiscard]] QVantelButton *okButton() const { return m_okButton; }
    [[nodiscard]] QVantelButton *cancelButton() const { return m_cancelButton; }

public slots:
    void okClicked();
    void cancelClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void step(int direction);
    void cyclePanning();
    void showChoice(int index);

    QList<Choice> m_items;
    int m_currentIndex = -1;
    QVantelAudio *m_display = nullptr;
    int m_selectedValue = -1;
    int m_selectedPanning = 0;
    QVantelButton *m_cancelButton = nullptr;
    QVantelButton *m_okButton = nullptr;
};
