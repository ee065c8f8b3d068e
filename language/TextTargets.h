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

// Where a control's text stands within its bounds.
enum class Align { Left, Right, Center };

// The face of a control's text: the window's font, its bold variant, or
// its fixed-pitch variant.
enum class Face { Regular, Bold, Fixed };

// Left, top, width and height in the parent's client area, in the
// pixels of the window's design.
struct Bounds
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Window
{
    const char *name;
    bool fixed; // carries the protection tag
    int width = 0; // the client area
    int height = 0;
};

// A control of a window: the windows are built from these rows, and the
// fit of every text is measured against them.
struct Control
{
    const char *window;
    const char *name;
    Kind kind;
    const char *parent; // the control it lies in; nullptr for the window itself
    bool fixed;
    // A label sizes itself to its text from its left and top (from its
    // right edge when right-aligned, about its centre when centred); a
    // label with rows keeps these bounds. Every other control keeps them.
    Bounds bounds = {};
    Align align = Align::Left;
    Face face = Face::Regular;
    // A column of the best list: one text row per 13 pixels, in bounds
    // of its own.
    bool rows = false;
    // The widest text the program itself puts into the control (the
    // largest number it shows), where no language names its text.
    const char *shows = nullptr;
};

std::span<const Window> windows();
// The control of that exact name, as the windows name their widgets; the
// program asks only for controls the table has.
const Control &control(const char *window, const char *name);

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

// A pack's text with each "%0A" (digit zero, capital A) turned into the
// line break CR LF; nothing else changes.
QString decodeLineBreaks(const QString &text);

} // namespace TextTargets
