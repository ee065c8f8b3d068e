#pragma once

#include <QLabel>

namespace TextTargets {
struct Control;
}

// A label of the windows, as the toolkit the game was designed with had
// them: it shows its text one line per row of 13 pixels, so that several
// labels side by side line up row for row (a line break is LF, CR, or
// either pair of them), and it sizes itself to its text every time the text
// changes, growing right and down from its left and top (from its right
// edge when right-aligned, about its centre when centred), as TextFit
// measures it. A column of the best list keeps its bounds instead and draws
// a line wider than itself narrower to fit, so that no name is cut off.
class LinesLabel : public QLabel
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 13;

    // The label of that row of the table, placed and in its face.
    LinesLabel(const TextTargets::Control &control, QWidget *parent);

    static QStringList splitLines(const QString &text);

    // Sizes the label to its text now. The label does it by itself when it
    // is shown and, while shown, after each change of its text.
    void fitText();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const TextTargets::Control &m_control;
};
