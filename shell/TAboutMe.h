#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QGroupBox;
class QLabel;

// The about window: who makes the game family, with two links, one to the
// maker's web page and one to write a mail to the maker's support. A tool
// window with a close box only, opened modally by the main window's About
// button. Language packs leave all its texts alone.
class TAboutMe : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 329;
    static constexpr int ClientHeight = 395;

    // The links are opened through `openUrl` (the desktop's shell).
    explicit TAboutMe(std::function<void(const QUrl &)> openUrl, QWidget *parent = nullptr);

    QLabel *label(const QString &name) const;
    QGroupBox *groupBox() const { return m_groupBox3; }

    // What the two links open.
    static QUrl webPage();
    static QUrl supportMail();

    // --- handlers ---
    void Label4MouseMove();
    void Label7MouseMove();
    // GroupBox3MouseMove, Label3MouseMove, Label5MouseMove, Label6MouseMove
    void resetLinks();
    void Label4Click();
    void Label7Click();

signals:
    // FormClose: the window was closed.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QLabel *addLabel(QWidget *parent, const char *name, QRect place, const QString &text,
                     Qt::Alignment alignment = Qt::AlignHCenter);
    static void highlight(QLabel *link, bool on);
    void centreOnScreen();
    static QMargins frameMargins(const QWidget &window);

    std::function<void(const QUrl &)> m_openUrl;
    QGroupBox *m_groupBox3 = nullptr;
    QLabel *m_label4 = nullptr;
    QLabel *m_label7 = nullptr;
    // How often the place may still be put right after the window manager
    // framed the window.
    int m_corrections = 0;
};
