#pragma once

#include "platform/MessageSink.h"

#include <QElapsedTimer>
#include <cstdio>

// What the benchmarks share: a sink that keeps messages out of the figures,
// and the timing of a piece of work repeated, printed in microseconds a run.
struct NoMessages : MessageSink
{
    void showError(const QString &) override {}
};

template <typename Work>
void measure(const char *what, int repeats, Work work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeats; ++i)
        work(i);
    const double micros = timer.nsecsElapsed() / 1000.0 / repeats;
    std::printf("%-72s %10.2f us  (%d runs)\n", what, micros, repeats);
}
