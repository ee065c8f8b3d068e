#pragma once

#include <QWidget>

// The grid of the 16 background colours, 4 across and 4 down. A left click
// selects a cell and the grid marks it; there is no second selection.
class ColourGrid : public QWidget
{
    Q_OBJECT
public:
    explicit ColourGrid(QWidget *parent = nullptr);

    int selected() const { return m_selected; }
    // Selects without telling: the program's own selections run no handler.
    void setSelected(int index);

    // The cell at a point of the widget, or -1 between cells.
    int cellAt(QPoint point) const;
    QRect cellRect(int index) const;

signals:
    void selectionChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_selected = 0;
};
