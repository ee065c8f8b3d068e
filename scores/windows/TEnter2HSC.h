#pragma once

#include "scores/ScoresRecord.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Statistics;

// The name entry for a new best result: it shows the time and the dominoes
// left and asks for the player's name. Confirming (the button or Enter)
// enters the result into the spare place of the best list.
class TEnter2HSC : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 240;
    static constexpr int ClientHeight = 100;
    static constexpr int NameLength = ScoresRecord::NameLength;

    explicit TEnter2HSC(Statistics &statistics, QWidget *parent = nullptr);

    // Fills the dialog with a result and the name last entered in this run.
    void prepare(int seconds, int dominoesLeft);
    // Where a window of size `dialog` stands centred over `over` (outer
    // sizes; the halves are cut, not rounded).
    static QPoint centredOver(const QRect &over, const QSize &dialog);
    // The dialog's outer size. Before it has first been shown its frame is
    // not known yet, and is taken to be as thick as that of `framed`.
    QSize outerSize(const QWidget &framed) const;

    // The name last confirmed in this run (empty at first).
    const QString &lastPlayerName() const { return m_lastPlayerName; }
    bool confirmed() const { return m_confirmed; }

    QLineEdit *nameField() const { return m_edit1; }
    QPushButton *confirmButton() const { return m_button1; }
    QLabel *label(const QString &name) const;

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    // The dialog has no cancel button: Escape does not close it. Enter on
    // the focused button confirms.
    void keyPressEvent(QKeyEvent *event) override;

private:
    Statistics &m_statistics;
    QString m_lastPlayerName;
    int m_seconds = 0;
    int m_dominoesLeft = 0;
    bool m_confirmed = false;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_button1 = nullptr;
};
