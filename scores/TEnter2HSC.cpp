#include "TEnter2HSC.h"

#include "Statistics.h"
#include "language/LanguageLoader.h"
#include "platform/DesktopFonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *addLabel(QWidget *parent, const char *name, QRect geometry, Qt::Alignment alignment, const char *text)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

TEnter2HSC::TEnter2HSC(Statistics &statistics, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_statistics(statistics)
{
    setObjectName(QStringLiteral("Enter2HSC"));
    setModal(true);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);

    // The title and the texts of L1 to L3 and Button1 come from the text
    // table, as the last step here.
    addLabel(this, "L1", {0, 10, 123, 13}, Qt::AlignRight, "");
    addLabel(this, "L2", {0, 30, 123, 13}, Qt::AlignRight, "");
    addLabel(this, "L3", {0, 50, 123, 13}, Qt::AlignRight, "");
    addLabel(this, "L4", {128, 10, 30, 13}, Qt::AlignHCenter, "");
    addLabel(this, "L5", {128, 30, 30, 13}, Qt::AlignHCenter, "");

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(122, 48, 116, 19);
    m_edit1->setMaxLength(NameLength);
    m_edit1->setFont(DesktopFonts::fixedPitch(11));
    m_edit1->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(dark); }"));

    m_button1 = new QPushButton(this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(8, 72, 225, 25);
    m_button1->setFont(DesktopFonts::fixedPitch(11));
    // Enter in the name field confirms through Edit1KeyPress alone, never a
    // second time through a default button.
    m_button1->setAutoDefault(false);
    m_button1->setDefault(false);
    setTabOrder(m_edit1, m_button1);

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
    m_seconds = seconds;
    m_dominoesLeft = dominoesLeft;
    m_confirmed = false;
    label(QStringLiteral("L4"))->setText(QString::number(seconds));
    label(QStringLiteral("L5"))->setText(QString::number(dominoesLeft));
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
    const QString name = m_edit1->text();
    m_lastPlayerName = name;
    m_statistics.enterResult(name, m_dominoesLeft, m_seconds);
    m_confirmed = true;
    accept();
}
