#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>

class MessageSink;

// What the program takes from the machine it runs on, handed in at the
// program's entry so that tests can put fakes in its place.
struct Environment
{
    // The folder of the program file: settings, scores, skins, pictures and
    // language packs are all found from here.
    QString programFolder;
    // Milliseconds since midnight UTC: the seed of every deal.
    std::function<std::uint32_t()> timeOfDay;
    // Where error messages are shown.
    MessageSink *messages = nullptr;
    // A wait of the start-up, in milliseconds: the player's input waits
    // with it, the window system's messages do not.
    std::function<void(int)> wait;
    // The desktop's shell: opens a web page or a "mailto:" link in the
    // player's browser or mail program.
    std::function<void(const QUrl &)> openUrl;

    // The real machine: the system clock, message boxes, real waits.
    static Environment system(const QString &programFolder);
    // The time of day now, in milliseconds since midnight UTC.
    static std::uint32_t systemTimeOfDay();
};
