#pragma once

#include "model/matrixsettings.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QRect;
class QWidget;

// Keeps a page from writing matrix rows the unit has not sent (TMatrixSettings::isRowMissing):
// each control that writes such a row is held under a veil that dims it and takes its taps,
// and a notice on the page says which rows are missing. The veil leaves the control's own state
// (enabled, shown, value) to the page, so the page's rules go on as before underneath. Each time
// the page is shown the missing rows are read again; the controls come alive as soon as their
// rows arrive, from that read or from the unit's own change reports.
//
// A child of the page; the controls are the page's, the veils the lock's. GUI thread only.
class MatrixRowLock : public QObject
{
    Q_OBJECT

public:
    using RowId = TMatrixSettings::RowId;
    // The notice's text for the missing rows of the page (never empty); when the matrix could not
    // be read at all the notice says that instead.
    using Describe = std::function<QString(const std::vector<RowId> &missing)>;

    // The notice is a label of the page, hidden while nothing is missing.
    MatrixRowLock(QWidget *page, QLabel *notice, Describe describe);
    // A notice label for the page at geometry: one line, centred, in amber.
    static QLabel *makeNotice(QWidget *page, const QRect &geometry);
    // "a", "a and b", "a, b and c".
    static QString listText(const QStringList &parts);
    ~MatrixRowLock() override;
    Q_DISABLE_COPY_MOVE(MatrixRowLock)

    // control writes rows; it is held while one of them is missing.
    void addControl(QWidget *control, std::vector<RowId> rows);
    [[nodiscard]] bool isHeld(const QWidget *control) const;
    // The rows of the page's controls that are missing now, each once; with shownOnly, only
    // those of controls the page shows.
    [[nodiscard]] std::vector<RowId> missingRows(bool shownOnly = false) const;

    // Holds and releases the controls and shows the notice as the matrix stands now. Runs on
    // every change of the matrix's state and on every row that arrives.
    void refresh();
    // Asks the unit for the missing rows once the event loop is back (a read blocks in a nested
    // loop; the page's show is no place for it).
    void readMissingLater();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Control
    {
        QWidget *widget = nullptr;
        std::vector<RowId> rows;
        // Over the control while it is held; null while it is not.
        QWidget *veil = nullptr;
    };

    Control *find(const QObject *widget);
    void hold(Control &control, bool held);
    // Shows the notice for the missing rows of the controls shown, or hides it.
    void showNotice();
    static void placeVeil(const Control &control);

    QWidget *m_page;
    QLabel *m_notice;
    Describe m_describe;
    std::vector<Control> m_controls;
    bool m_readPending = false;
};
