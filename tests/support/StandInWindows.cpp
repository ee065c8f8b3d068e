#include "StandInWindows.h"

#include "language/TextTable.h"
#include "language/TextTargets.h"
#include "language/windows/LanguageLoader.h"
#include "settings/windows/FileDialogState.h"

#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

QObject *make(TextTargets::Kind kind, QWidget *parent)
{
    using enum TextTargets::Kind;
    switch (kind) {
    case Label:
    case Image:
        return new QLabel(parent);
    case Button:
        return new QPushButton(parent);
    case RadioButton:
        return new QRadioButton(parent);
    case SpeedButton:
        return new QToolButton(parent);
    case GroupBox:
        return new QGroupBox(parent);
    case Panel:
    case Bevel:
        return new QFrame(parent);
    case PageControl:
        return new QTabWidget(parent);
    case Page: {
        auto *page = new QWidget;
        if (auto *tabs = qobject_cast<QTabWidget *>(parent))
            tabs->addTab(page, QString());
        else
            page->setParent(parent);
        return page;
    }
    case Edit:
        return new QLineEdit(parent);
    case ListBox:
        return new QListWidget(parent);
    case Memo:
        return new QPlainTextEdit(parent);
    case UpDown:
        return new QSpinBox(parent);
    case StatusBar:
    case ColorGrid:
        return new QWidget(parent);
    case OpenDialog: {
        keepFileDialogStateInMemory();
        auto *dialog = new QFileDialog(parent);
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        return dialog;
    }
    case Timer:
        return new QTimer(parent);
    }
    return nullptr;
}

} // namespace

StandInWindows::StandInWindows()
{
    for (const TextTargets::Window &design : TextTargets::windows()) {
        auto window = std::make_unique<QWidget>();
        window->setObjectName(QString::fromLatin1(design.name));
        if (design.fixed)
            TextTable::setTag(window.get(), TextTable::FixedTextTag);
        m_windows.push_back(std::move(window));
    }
    for (const TextTargets::Control &design : TextTargets::controls()) {
        QWidget *parent = window(QString::fromLatin1(design.window));
        if (design.parent)
            parent = qobject_cast<QWidget *>(control(QString::fromLatin1(design.window), QString::fromLatin1(design.parent)));
        QObject *object = make(design.kind, parent);
        object->setObjectName(QString::fromLatin1(design.name));
        if (design.fixed)
            TextTable::setTag(object, TextTable::FixedTextTag);
    }
    // Made, each window takes its design texts, as the program's own do.
    for (const auto &window : m_windows)
        LanguageLoader::applyDesignTexts(window.get());
}

StandInWindows::~StandInWindows() = default;

QList<QWidget *> StandInWindows::windows() const
{
    QList<QWidget *> all;
    for (const auto &window : m_windows)
        all.append(window.get());
    return all;
}

QWidget *StandInWindows::window(const QString &name) const
{
    for (const auto &window : m_windows)
        if (window->objectName() == name)
            return window.get();
    return nullptr;
}

QObject *StandInWindows::control(const QString &window, const QString &name) const
{
    QWidget *parent = this->window(window);
    return parent ? parent->findChild<QObject *>(name) : nullptr;
}

QString textOf(QObject *target, const QString &property)
{
    auto *widget = qobject_cast<QWidget *>(target);
    if (property == QLatin1String("caption") || property == QLatin1String("Title"))
        return widget->windowTitle();
    if (property == QLatin1String("Hint"))
        return widget->toolTip();
    if (property == QLatin1String("Text"))
        return qobject_cast<QLineEdit *>(target)->text();
    if (auto *label = qobject_cast<QLabel *>(target))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(target))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(target))
        return group->title();
    if (auto *tabs = qobject_cast<QTabWidget *>(widget->parentWidget() ? widget->parentWidget()->parentWidget() : nullptr))
        return tabs->tabText(tabs->indexOf(widget));
    return {};
}
