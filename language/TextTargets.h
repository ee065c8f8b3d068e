#pragma once

#include <QString>
#include <QStringView>
#include <span>

// The program's windows and their controls as a language pack names them
// ("Form1.NewGame.Hint": window, control, text property), with the text
// properties each kind of control has and the windows and controls that no
// pack may change. The game applies a pack line only when this list knows
// its target, and the pack checker reports against the same list, so the two
// never disagree about what a key names.
namespace TextTargets {

// The text properties a pack can set.
enum Property : unsigned {
    NoProperty = 0,
    Caption = 1, // a label's or button's text, a group box's title, a page's tab
    Hint = 2,    // the tooltip
    Title = 4,   // a file dialog's title
    Text = 8,    // an edit's text
};

enum class Kind {
    Label,
    Button,
    RadioButton,
    SpeedButton, // a toolbar button: a glyph and a tooltip
    GroupBox,
    Panel,
    PageControl,
    Page,
    Edit,
    ListBox,
    Memo,
    Image,
    Bevel,
    StatusBar,
    UpDown,
    ColorGrid,
    OpenDialog,
    Timer,
};

// The properties that controls of this kind have.
unsigned propertiesOf(Kind kind);

struct Window
{
    const char *name;
    bool fixed; // carries the protection tag
};

struct Control
{
    const char *window;
    const char *name;
    Kind kind;
    const char *parent; // the control it lies in; nullptr for the window itself
    bool fixed;
};

std::span<const Window> windows();
std::span<const Control> controls();

// Names match without regard to the letter case of A to Z, and only of
// those: the loader's rule, which the checker shares.
bool sameName(QStringView a, QStringView b);
// The name with A to Z made small: two names are the same when their folded
// forms are equal.
QString foldName(QStringView name);

const Window *findWindow(QStringView name);
const Control *findControl(QStringView window, QStringView name);
// The property of that name, or NoProperty.
Property findProperty(QStringView name);
// The property's name as packs spell it ("Caption").
QString propertyName(Property property);

} // namespace TextTargets
