#pragma once

#include "game/BoardFigure.h"

#include <QImage>
#include <QWidget>

// One domino's picture control on the board: 30 x 60 pixels, showing the
// face, the back or the face with the selection mark. Its slot number is
// its tag. It reports a click (press and release on it) while enabled.
// Whether it is the selection it is told, for screen readers. It takes the
// focus from the keyboard, and shows a focus frame while it has the focus
// and the window shows focus cues.
class TileImage : public QWidget
{
    Q_OBJECT
public:
    TileImage(SlotNumber slot, QWidget *parent);

    SlotNumber slot() const { return m_slot; }
    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    // A picture shown in place of its own for a moment (the hint's blink);
    // a null image brings its own back.
    void setFlash(const QImage &picture);
    const QImage &shownPicture() const { return m_flash.isNull() ? m_picture : m_flash; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // A click without the mouse (a screen reader's press), taken while enabled.
    void click();
    // Whether the frame shows while the tile has the focus.
    void setFocusCue(bool shown);

signals:
    void clicked(SlotNumber slot);
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    SlotNumber m_slot;
    QImage m_picture;
    QImage m_flash;
    bool m_pressed = false;
    bool m_selected = false;
    bool m_focusCue = false;
};
