#include "TEnter2HSC.h"

#include "language/TextFit.h"
#include "language/windows/LanguageLoader.h"
#include "language/windows/LinesLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *addLabel(QWidget *parent, const char *name)
{
    return new LinesLabel(TextTargets::control("Enter2HSC", name), parent);
}

template <class Widget>
Widget *place(Widget *widget, const char *name)
{
    const TextTargets::Control &control = TextTargets::control("Enter2HSC", name);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TextFit::bounds(control));
    widget->setFont(TextFit::font(control));
    return widget;
}

} // namespace

TEnter2HSC::TEnter2HSC(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Enter2HSC"));
    setModal(true);
    setFont(TextFit::windowFont());
    setFixedSize(ClientWidth, ClientHeight);

    // The title and the texts of L1 to L3 and Button1 come from the text
    // table, as the last step here.
    for (const char *name : {"L1", "L2", "L3", "L4", "L5"})
        addLabel(this, name);

    m_edit1 = place(new QLineEdit(this), "Edit1");
    m_edit1->setMaxLength(NameLength);
    m_edit1->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(dark); }"));

    m_button1 = place(new QPushButton(this), "Button1");
    // Enter in the name field confirms through Edit1KeyPress alone, never a
    // second time through a default button.
    m_button1->setAutoDefault(false);
    m_button1->setDefault(false);
    setTabOrder(m_edit1, m_button1);
    // What a screen reader says of the dialog and of its field: the field
    // is named by the label beside it, in whatever language that shows.
    // This description is English: no language pack has it.
    label(QStringLiteral("L3"))->setBuddy(m_edit1);
    setAccessibleDescription(QStringLiteral("Your result is among the best: type your name for the list of best "
                                            "players and press Enter."));

    connect(m_edit1, &QLineEdit::returnPressed, this, &TEnter2HSC::Button1Click);
    connect(m_button1, &QPushButton::clicked, this, &TEnter2HSC::Button1Click);
    LanguageLoader::applyDesignTexts(this);
}

QLabel *TEnter2HSC::label(const QString &name) const
{
    return findChild<QLabel *>(name);
}

QPoint TEnter2HSC::centredOver(const QRect &over, const QSize &dialog)
{
    // Integer division cuts towards zero, also for a negative surplus.
    return {over.left() + (over.width() - dialog.width()) / 2, over.top() + (over.height() - dialog.height()) / 2};
}

QSize TEnter2HSC::outerSize(const QWidget &framed) const
{
    const QSize outer = frameGeometry().size();
    if (outer != size())
        return outer;
    return size() + (framed.frameGeometry().size() - framed.size());
}

void TEnter2HSC::prepare(int seconds, int dominoesLeft)
{
    m_confirmed = false;
    for (const auto &[name, value] : {std::pair{"L4", seconds}, std::pair{"L5", dominoesLeft}}) {
        auto *shown = static_cast<LinesLabel *>(label(QString::fromLatin1(name)));
        shown->setText(QString::number(value));
        shown->fitText();
    }
    m_edit1->setText(m_lastPlayerName);
}

void TEnter2HSC::showEvent(QShowEvent *event)
{
    m_edit1->setEnabled(true);
    m_edit1->setFocus();
    QDialog::showEvent(event);
}

void TEnter2HSC::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter on the focused button confirms, as Enter in the name field does
    // (the button is no default button, which would confirm a second time).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == m_button1) {
        event->accept();
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TEnter2HSC::Button1Click()
{
    // The field goes dead first, so that a second Enter cannot confirm twice.
    if (!m_edit1->isEnabled())
        return;
    m_edit1->setEnabled(false);
    m_lastPlayerName = m_edit1->text();
    m_confirmed = true;
    accept();
}
