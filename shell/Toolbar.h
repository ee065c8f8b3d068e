#pragma once

#include <QFrame>
#include <array>

class QDialog;
class SpeedButton;

// The main window's toolbar (Panel1): six picture buttons in a row, each
// with its glyphs and hint. The toggles among them are held down by the
// program while their state or window lasts.
class Toolbar : public QFrame
{
    Q_OBJECT
public:
    enum Button { NewGame, Pause, Options, Stats, About, Help, ButtonCount };
    static constexpr int Height = 30;

    explicit Toolbar(int width, QWidget *parent);

    SpeedButton *button(Button which) const { return m_buttons[which]; }
    // The button of that objectName, or null.
    SpeedButton *button(const QString &name) const;
    void setDown(Button which, bool down);
    // Holds `which` down while `dialog` runs modally, then lets it spring
    // back; without a dialog it springs back at once.
    void runModal(Button which, QDialog *dialog);

private:
    std::array<SpeedButton *, ButtonCount> m_buttons{};
};
