#pragma once

#include <QWidget>

class QGridLayout;

// Common base of the menu rows: an id given at construction and a grid layout with no margins
// and no spacing, installed on the row.
class QVantelMenuBase : public QWidget
{
    Q_OBJECT

public:
    QVantelMenuBase(int id, QWidget *parent = nullptr);
    ~QVantelMenuBase() override;

    int id() const { return m_id; }
    QGridLayout *grid() const { return m_grid; }

private:
    int m_id;
    QGridLayout *m_grid = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelMenuBase)
};
