#pragma once

#include "scores/ScoresRecord.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The name entry for a new best result: it shows the time and the dominoes
// left and asks for the player's name, which confirming (the button or
// Enter) gives to the result; the one who shows it records the result.
class TEnter2HSC : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 240;
    static constexpr int ClientHeight = 100;
    static constexpr int NameLength = ScoresRecord::NameLength;

    explicit TEnter2HSC(QWidget *parent = nullptr);

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
    // The name confirmed for the result prepared last; none before.
    std::optional<QString> confirmedName() const
    {
        return m_confirmed ? std::optional<QString>(m_lastPlayerName) : std::nullopt;
    }

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
    QString m_lastPlayerName;
    bool m_confirmed = false;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_button1 = nullptr;
};
