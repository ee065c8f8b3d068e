#include "TextTargets.h"

#include <cstring>
#include <QtGlobal>

namespace TextTargets {

namespace {

using enum Kind;

constexpr Window windowTable[] = {
    {"Form1", false, 290, 470},
    {"Enter2HSC", false, 240, 100},
    {"Setup", false, 339, 331},
    {"ScoresForm", false, 323, 473},
    {"AboutMe", true},
    {"SplashForm", true},
};

constexpr Align L = Align::Left;
constexpr Align R = Align::Right;
constexpr Align C = Align::Center;
constexpr Face Bold = Face::Bold;
constexpr Face Fixed = Face::Fixed;

// The largest numbers the windows show: the clock and the best list's
// times run to 99999 seconds and past, the counters to the largest count
// the scores file holds.
constexpr const char *Seconds = "99999";
constexpr const char *Count = "2147483647";

// Each window's controls as its design has them, parents before children.
constexpr Control controlTable[] = {
    {"Form1", "Panel1", Panel, nullptr, false, {0, 0, 290, 30}},
    {"Form1", "NewGame", SpeedButton, "Panel1", false, {3, 3, 24, 24}},
    {"Form1", "Pause", SpeedButton, "Panel1", false, {28, 3, 24, 24}},
    {"Form1", "Options", SpeedButton, "Panel1", false, {53, 3, 24, 24}},
    {"Form1", "Stats", SpeedButton, "Panel1", false, {78, 3, 24, 24}},
    {"Form1", "About", SpeedButton, "Panel1", false, {103, 3, 24, 24}},
    {"Form1", "Help", SpeedButton, "Panel1", false, {128, 3, 24, 24}},
    {"Form1", "StatusBar", StatusBar, nullptr, false, {0, 454, 290, 16}, L, Bold},
    {"Form1", "Timer1", Timer, nullptr, false},

    {"Enter2HSC", "L1", Label, nullptr, false, {0, 10, 123, 13}, R, Bold},
    {"Enter2HSC", "L2", Label, nullptr, false, {0, 30, 123, 13}, R, Bold},
    {"Enter2HSC", "L3", Label, nullptr, false, {0, 50, 123, 13}, R, Bold},
    {"Enter2HSC", "L4", Label, nullptr, false, {128, 10, 30, 13}, C, Bold, false, Seconds},
    {"Enter2HSC", "L5", Label, nullptr, false, {128, 30, 30, 13}, C, Bold, false, "28"},
    {"Enter2HSC", "Edit1", Edit, nullptr, false, {122, 48, 116, 19}, L, Fixed},
    {"Enter2HSC", "Button1", Button, nullptr, false, {8, 72, 225, 25}, C, Fixed},

    {"Setup", "Cancel", Button, nullptr, false, {176, 304, 75, 25}, C},
    {"Setup", "Apply", Button, nullptr, false, {256, 304, 75, 25}, C},
    {"Setup", "PageControl1", PageControl, nullptr, false, {0, 0, 339, 297}},
    // A page is the page control's client area, below the tabs.
    {"Setup", "Screen", Page, "PageControl1", false, {4, 24, 331, 269}},
    {"Setup", "GroupBox3", GroupBox, "Screen", false, {0, 0, 329, 265}},
    {"Setup", "PicsBox", ListBox, "GroupBox3", false, {8, 16, 193, 105}},
    {"Setup", "Label2", Label, "GroupBox3", false, {8, 128}},
    {"Setup", "Browse", Button, "GroupBox3", false, {8, 144, 75, 25}, C},
    {"Setup", "RB1", RadioButton, "GroupBox3", false, {88, 136, 113, 17}},
    {"Setup", "RB2", RadioButton, "GroupBox3", false, {88, 152, 113, 17}},
    {"Setup", "Label3", Label, "GroupBox3", false, {8, 176}},
    {"Setup", "ColSel", ColorGrid, "GroupBox3", false, {8, 192, 192, 68}},
    {"Setup", "TableImage", Image, "GroupBox3", false, {208, 41, 116, 188}},
    {"Setup", "Language", Page, "PageControl1", false, {4, 24, 331, 269}},
    {"Setup", "Label1", Label, "Language", false, {8, 8}},
    {"Setup", "LangBox", ListBox, "Language", false, {0, 24, 329, 161}},
    {"Setup", "LangInfo", Memo, "Language", false, {0, 192, 329, 73}},
    {"Setup", "Misc", Page, "PageControl1", false, {4, 24, 331, 269}},
    {"Setup", "GroupBox2", GroupBox, "Misc", false, {0, 0, 329, 105}},
    {"Setup", "SetBox", ListBox, "GroupBox2", false, {8, 16, 273, 81}},
    {"Setup", "SetImage", Image, "GroupBox2", false, {288, 16, 30, 60}},
    {"Setup", "LeftRight", UpDown, "GroupBox2", false, {283, 80, 40, 16}},
    {"Setup", "GroupBox1", GroupBox, "Misc", false, {0, 104, 329, 81}},
    {"Setup", "BackBox", ListBox, "GroupBox1", false, {8, 16, 273, 58}},
    {"Setup", "BackImage", Image, "GroupBox1", false, {288, 16, 30, 60}},
    {"Setup", "GroupBox4", GroupBox, "Misc", false, {0, 184, 329, 81}},
    {"Setup", "Info", Memo, "GroupBox4", false, {8, 12, 313, 65}},
    {"Setup", "OpenDialog", OpenDialog, nullptr, false},

    // The two panels keep their design; the labels in them follow the
    // language.
    {"ScoresForm", "Panel2", Panel, nullptr, true, {2, 13, 320, 89}},
    {"ScoresForm", "ScoresAllGames", Label, "Panel2", false, {3, 3, 314, 14}, C, Bold},
    {"ScoresForm", "LL1", Label, "Panel2", false, {100, 22, 61, 13}, R},
    {"ScoresForm", "LL2", Label, "Panel2", false, {74, 46, 89, 13}, R},
    {"ScoresForm", "LL3", Label, "Panel2", false, {103, 70, 59, 13}, R},
    {"ScoresForm", "LL4", Label, "Panel2", false, {168, 22, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "LL5", Label, "Panel2", false, {168, 46, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "LL6", Label, "Panel2", false, {168, 70, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "Panel1", Panel, nullptr, true, {2, 113, 320, 89}},
    {"ScoresForm", "ScoresGame", Label, "Panel1", false, {3, 3, 314, 14}, C, Bold},
    {"ScoresForm", "L1", Label, "Panel1", false, {100, 22, 61, 13}, R},
    {"ScoresForm", "L2", Label, "Panel1", false, {74, 46, 89, 13}, R},
    {"ScoresForm", "L3", Label, "Panel1", false, {103, 70, 59, 13}, R},
    {"ScoresForm", "L4", Label, "Panel1", false, {168, 22, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "L5", Label, "Panel1", false, {168, 46, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "L6", Label, "Panel1", false, {168, 70, 0, 13}, L, Face::Regular, false, Count},
    {"ScoresForm", "L7", Label, nullptr, false, {5, 210, 316, 17}, C, Bold},
    {"ScoresForm", "Bevel1", Bevel, nullptr, false, {5, 227, 316, 2}},
    {"ScoresForm", "L8", Label, nullptr, false, {12, 242, 17, 13}, C, Face::Regular, false, "#"},
    {"ScoresForm", "L9", Label, nullptr, false, {48, 242, 121, 13}, C},
    {"ScoresForm", "L10", Label, nullptr, false, {184, 234, 65, 26}, C},
    {"ScoresForm", "L11", Label, nullptr, false, {264, 242, 57, 13}, C},
    {"ScoresForm", "Bevel3", Bevel, nullptr, false, {5, 265, 316, 2}},
    {"ScoresForm", "Bevel2", Bevel, nullptr, false, {40, 229, 2, 210}},
    {"ScoresForm", "Bevel4", Bevel, nullptr, false, {176, 229, 2, 210}},
    {"ScoresForm", "Bevel5", Bevel, nullptr, false, {256, 229, 2, 210}},
    {"ScoresForm", "L12", Label, nullptr, false, {5, 274, 30, 160}, C, Face::Regular, true,
     "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12"},
    {"ScoresForm", "LName", Label, nullptr, false, {48, 274, 121, 160}, L, Face::Regular, true},
    {"ScoresForm", "LDomLeft", Label, nullptr, false, {184, 274, 65, 160}, C, Face::Regular, true, "28"},
    {"ScoresForm", "LTime", Label, nullptr, false, {264, 274, 56, 160}, C, Face::Regular, true, Seconds},
    {"ScoresForm", "Bevel6", Bevel, nullptr, false, {5, 439, 316, 2}},
    {"ScoresForm", "CloseButt", Button, nullptr, false, {5, 445, 316, 25}, C},

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

const Control &control(const char *window, const char *name)
{
    for (const Control &control : controlTable)
        if (std::strcmp(control.window, window) == 0 && std::strcmp(control.name, name) == 0)
            return control;
    qFatal("no control %s.%s in the table", window, name);
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

QString decodeLineBreaks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'%' && i + 2 < text.size() && text.at(i + 1) == u'0' && text.at(i + 2) == u'A') {
            result += QStringLiteral("\r\n");
            i += 2;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

} // namespace TextTargets
