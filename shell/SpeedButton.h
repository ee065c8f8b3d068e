#pragma once

#include "resources/Glyphs.h"

#include <QAbstractButton>

// A raised picture button of the toolbar. Its glyph follows its state: up,
// disabled, pressed (while the mouse holds it) and down (held down by the
// program, for the toggles). A toggle's mouse click flips its down state
// before the click handler runs; the handlers set the state themselves, so a
// key and a mouse click leave the same state. A screen reader reads its hint
// as its name.
class SpeedButton : public QAbstractButton
{
    Q_OBJECT
public:
    SpeedButton(const QString &name, bool toggle, QWidget *parent);

    bool isDown() const { return isChecked(); }
    void setDown(bool down) { setChecked(down); }
    bool isToggle() const { return isCheckable(); }

    QSize sizeHint() const override { return {24, 24}; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    GlyphSet m_glyphs;
};
