#pragma once

#include <QObject>
#include <QVariant>

// The topics of the help files. Each is anchored in every help file by its
// number (<a name="2">), and a window or control that has one carries it in
// its property "helpContext": F1 there opens that topic.
enum class HelpTopic {
    None = 0,
    Start = 1,          // the splash window
    MainWindow = 2,
    ToolbarAndStatus = 3,
    Setup = 4,
    Statistics = 5,
    ScreenPage = 10,    // the setup's wallpaper choices
    LanguagePage = 11,
    SkinPage = 12,
    About = 40,
};

namespace HelpTopics {

constexpr const char *Property = "helpContext";

inline void set(QObject *object, HelpTopic topic)
{
    object->setProperty(Property, int(topic));
}

// The object's own topic, None when it has none.
inline HelpTopic of(const QObject *object)
{
    return HelpTopic(object->property(Property).toInt());
}

} // namespace HelpTopics
