#pragma once

#include "TestSupport.h"
#include "shell/Environment.h"

#include <QTemporaryDir>
#include <deque>

// An Environment for tests: a temporary program folder, a clock that reads
// out the times given to it (then goes on a millisecond at a time), captured
// messages and waits that only count.
class TestEnvironment
{
public:
    TestEnvironment()
    {
        environment.programFolder = folder.path();
        environment.messages = &messages;
        environment.timeOfDay = [this] {
            ++clockReadings;
            if (!times.empty()) {
                now = times.front();
                times.pop_front();
            } else {
                ++now;
            }
            return now;
        };
        environment.wait = [this](int milliseconds) { waited.push_back(milliseconds); };
        environment.openUrl = [this](const QUrl &url) { opened.push_back(url); };
    }

    QTemporaryDir folder;
    CapturedMessages messages;
    Environment environment;
    std::deque<std::uint32_t> times;
    std::uint32_t now = 0;
    int clockReadings = 0;
    std::vector<int> waited;
    std::vector<QUrl> opened;
};
