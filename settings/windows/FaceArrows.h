#pragma once

#include <QWidget>

class QToolButton;

// Horizontal up-down arrows over a position from 1 to a maximum: the left
// arrow lowers it, the right arrow raises it, and it stops at both ends.
class FaceArrows : public QWidget
{
    Q_OBJECT
public:
    FaceArrows(int maximum, QWidget *parent = nullptr);

    int position() const { return m_position; }
    // Sets the position without telling.
    void setPosition(int position);

signals:
    // A click on an arrow, with the new position (also when it stayed).
    void clicked(int position);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int by);

    int m_maximum;
    int m_position = 1;
    QToolButton *m_left;
    QToolButton *m_right;
};
