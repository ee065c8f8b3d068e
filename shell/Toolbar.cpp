#include "Toolbar.h"

#include "SpeedButton.h"
#include "language/windows/HelpTopic.h"

#include <QDialog>

namespace {

struct ButtonDesign
{
    const char *name;
    int x;
    bool toggle;
};

// In the order of Toolbar::Button. The hints are texts of the text table.
constexpr ButtonDesign designs[Toolbar::ButtonCount] = {
    {"NewGame", 3, false}, {"Pause", 28, true}, {"Options", 53, true},
    {"Stats", 78, true},   {"About", 103, true}, {"Help", 128, false},
};

constexpr int ButtonTop = 3;
constexpr int ButtonSize = 24;

} // namespace

Toolbar::Toolbar(int width, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    setGeometry(0, 0, width, Height);
    HelpTopics::set(this, HelpTopic::ToolbarAndStatus);

    for (int i = 0; i < ButtonCount; ++i) {
        const ButtonDesign &design = designs[i];
        auto *button = new SpeedButton(QString::fromLatin1(design.name), design.toggle, this);
        button->setGeometry(design.x, ButtonTop, ButtonSize, ButtonSize);
        m_buttons[i] = button;
    }
}

SpeedButton *Toolbar::button(const QString &name) const
{
    for (SpeedButton *button : m_buttons)
        if (button->objectName() == name)
            return button;
    return nullptr;
}

void Toolbar::setDown(Button which, bool down)
{
    m_buttons[which]->setDown(down);
}

void Toolbar::runModal(Button which, QDialog *dialog)
{
    setDown(which, true);
    if (dialog)
        dialog->exec();
    setDown(which, false);
}
