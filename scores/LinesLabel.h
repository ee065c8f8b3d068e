#pragma once

#include <QLabel>

// A label that shows its text one line per row at a fixed row height, so
// that several such labels side by side line up row for row. A line break
// is LF, CR, or either pair of them (the statistics texts end their rows
// with LF CR, which is one break). A line wider than the label is drawn
// narrower to fit, so that no text of the window, nor a longer one that a
// language pack brings, is ever cut off.
class LinesLabel : public QLabel
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 13;

    explicit LinesLabel(QWidget *parent);

    static QStringList splitLines(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
};
