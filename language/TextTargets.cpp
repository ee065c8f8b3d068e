#include "TextTargets.h"

#include <cstring>

namespace TextTargets {

namespace {

using enum Kind;

constexpr Window windowTable[] = {
    {"Form1", false},
    {"Enter2HSC", false},
    {"Setup", false},
    {"ScoresForm", false},
    {"AboutMe", true},
    {"SplashForm", true},
};

// Each window's controls as its design has them, parents before children.
constexpr Control controlTable[] = {
    {"Form1", "Panel1", Panel, nullptr, false},
    {"Form1", "NewGame", SpeedButton, "Panel1", false},
    {"Form1", "Pause", SpeedButton, "Panel1", false},
    {"Form1", "Options", SpeedButton, "Panel1", false},
    {"Form1", "Stats", SpeedButton, "Panel1", false},
    {"Form1", "About", SpeedButton, "Panel1", false},
    {"Form1", "Help", SpeedButton, "Panel1", false},
    {"Form1", "StatusBar", StatusBar, nullptr, false},
    {"Form1", "Timer1", Timer, nullptr, false},

    {"Enter2HSC", "L1", Label, nullptr, false},
    {"Enter2HSC", "L2", Label, nullptr, false},
    {"Enter2HSC", "L3", Label, nullptr, false},
    {"Enter2HSC", "L4", Label, nullptr, false},
    {"Enter2HSC", "L5", Label, nullptr, false},
    {"Enter2HSC", "Edit1", Edit, nullptr, false},
    {"Enter2HSC", "Button1", Button, nullptr, false},

    {"Setup", "Cancel", Button, nullptr, false},
    {"Setup", "Apply", Button, nullptr, false},
    {"Setup", "PageControl1", PageControl, nullptr, false},
    {"Setup", "Screen", Page, "PageControl1", false},
    {"Setup", "GroupBox3", GroupBox, "Screen", false},
    {"Setup", "PicsBox", ListBox, "GroupBox3", false},
    {"Setup", "Label2", Label, "GroupBox3", false},
    {"Setup", "Browse", Button, "GroupBox3", false},
    {"Setup", "RB1", RadioButton, "GroupBox3", false},
    {"Setup", "RB2", RadioButton, "GroupBox3", false},
    {"Setup", "Label3", Label, "GroupBox3", false},
    {"Setup", "ColSel", ColorGrid, "GroupBox3", false},
    {"Setup", "TableImage", Image, "GroupBox3", false},
    {"Setup", "Language", Page, "PageControl1", false},
    {"Setup", "Label1", Label, "Language", false},
    {"Setup", "LangBox", ListBox, "Language", false},
    {"Setup", "LangInfo", Memo, "Language", false},
    {"Setup", "Misc", Page, "PageControl1", false},
    {"Setup", "GroupBox2", GroupBox, "Misc", false},
    {"Setup", "SetBox", ListBox, "GroupBox2", false},
    {"Setup", "SetImage", Image, "GroupBox2", false},
    {"Setup", "LeftRight", UpDown, "GroupBox2", false},
    {"Setup", "GroupBox1", GroupBox, "Misc", false},
    {"Setup", "BackBox", ListBox, "GroupBox1", false},
    {"Setup", "BackImage", Image, "GroupBox1", false},
    {"Setup", "GroupBox4", GroupBox, "Misc", false},
    {"Setup", "Info", Memo, "GroupBox4", false},
    {"Setup", "OpenDialog", OpenDialog, nullptr, false},

    // The two panels keep their design; the labels in them follow the
    // language.
    {"ScoresForm", "Panel2", Panel, nullptr, true},
    {"ScoresForm", "ScoresAllGames", Label, "Panel2", false},
    {"ScoresForm", "LL1", Label, "Panel2", false},
    {"ScoresForm", "LL2", Label, "Panel2", false},
    {"ScoresForm", "LL3", Label, "Panel2", false},
    {"ScoresForm", "LL4", Label, "Panel2", false},
    {"ScoresForm", "LL5", Label, "Panel2", false},
    {"ScoresForm", "LL6", Label, "Panel2", false},
    {"ScoresForm", "Panel1", Panel, nullptr, true},
    {"ScoresForm", "ScoresGame", Label, "Panel1", false},
    {"ScoresForm", "L1", Label, "Panel1", false},
    {"ScoresForm", "L2", Label, "Panel1", false},
    {"ScoresForm", "L3", Label, "Panel1", false},
    {"ScoresForm", "L4", Label, "Panel1", false},
    {"ScoresForm", "L5", Label, "Panel1", false},
    {"ScoresForm", "L6", Label, "Panel1", false},
    {"ScoresForm", "L7", Label, nullptr, false},
    {"ScoresForm", "Bevel1", Bevel, nullptr, false},
    {"ScoresForm", "L8", Label, nullptr, false},
    {"ScoresForm", "L9", Label, nullptr, false},
    {"ScoresForm", "L10", Label, nullptr, false},
    {"ScoresForm", "L11", Label, nullptr, false},
    {"ScoresForm", "Bevel3", Bevel, nullptr, false},
    {"ScoresForm", "Bevel2", Bevel, nullptr, false},
    {"ScoresForm", "Bevel4", Bevel, nullptr, false},
    {"ScoresForm", "Bevel5", Bevel, nullptr, false},
    {"ScoresForm", "L12", Label, nullptr, false},
    {"ScoresForm", "LName", Label, nullptr, false},
    {"ScoresForm", "LDomLeft", Label, nullptr, false},
    {"ScoresForm", "LTime", Label, nullptr, false},
    {"ScoresForm", "Bevel6", Bevel, nullptr, false},
    {"ScoresForm", "CloseButt", Button, nullptr, false},

    // Every text of the about window is fixed.
    {"AboutMe", "Logo", Image, nullptr, true},
    {"AboutMe", "Label1", Label, nullptr, true},
    {"AboutMe", "Label2", Label, nullptr, true},
    {"AboutMe", "GroupBox3", GroupBox, nullptr, true},
    {"AboutMe", "Label3", Label, "GroupBox3", true},
    {"AboutMe", "Label4", Label, "GroupBox3", true},
    {"AboutMe", "Label5", Label, "GroupBox3", true},
    {"AboutMe", "Label7", Label, "GroupBox3", true},
    {"AboutMe", "Label6", Label, "GroupBox3", true},
    {"AboutMe", "Label8", Label, nullptr, true},

    {"SplashForm", "Logo", Image, nullptr, true},
    {"SplashForm", "Info", Label, nullptr, true},
    {"SplashForm", "VerLabel", Label, nullptr, true},
    {"SplashForm", "Timer1", Timer, nullptr, false},
};

constexpr struct
{
    Property property;
    const char *name;
} propertyTable[] = {{Caption, "Caption"}, {Hint, "Hint"}, {Title, "Title"}, {Text, "Text"}};

char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

template <typename Other>
bool sameNameAs(QStringView a, const Other &b, qsizetype size)
{
    if (a.size() != size)
        return false;
    for (qsizetype i = 0; i < size; ++i)
        if (asciiLower(a[i].unicode()) != asciiLower(char16_t(b[i])))
            return false;
    return true;
}

// The table's own names are plain ASCII.
bool sameName(QStringView a, const char *b)
{
    return sameNameAs(a, reinterpret_cast<const unsigned char *>(b), qsizetype(std::strlen(b)));
}

} // namespace

bool sameName(QStringView a, QStringView b)
{
    return sameNameAs(a, b.utf16(), b.size());
}

QString foldName(QStringView name)
{
    QString folded(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        folded[i] = QChar(asciiLower(name[i].unicode()));
    return folded;
}

unsigned propertiesOf(Kind kind)
{
    switch (kind) {
    case Kind::Label:
    case Kind::Button:
    case Kind::RadioButton:
    case Kind::GroupBox:
    case Kind::Page:
        return Caption | Hint;
    case Kind::Edit:
        return Text | Hint;
    case Kind::OpenDialog:
        return Title;
    case Kind::Timer:
        return NoProperty;
    // A toolbar button shows a glyph, and the program's panels hold
    // controls, not a text of their own.
    case Kind::SpeedButton:
    case Kind::Panel:
    case Kind::PageControl:
    case Kind::ListBox:
    case Kind::Memo:
    case Kind::Image:
    case Kind::Bevel:
    case Kind::StatusBar:
    case Kind::UpDown:
    case Kind::ColorGrid:
        return Hint;
    }
    return NoProperty;
}

std::span<const Window> windows()
{
    return windowTable;
}

std::span<const Control> controls()
{
    return controlTable;
}

const Window *findWindow(QStringView name)
{
    for (const Window &window : windowTable)
        if (sameName(name, window.name))
            return &window;
    return nullptr;
}

const Control *findControl(QStringView window, QStringView name)
{
    for (const Control &control : controlTable)
        if (sameName(window, control.window) && sameName(name, control.name))
            return &control;
    return nullptr;
}

Property findProperty(QStringView name)
{
    for (const auto &entry : propertyTable)
        if (sameName(name, entry.name))
            return entry.property;
    return NoProperty;
}

QString propertyName(Property property)
{
    for (const auto &entry : propertyTable)
        if (entry.property == property)
            return QString::fromLatin1(entry.name);
    return {};
}

} // namespace TextTargets
