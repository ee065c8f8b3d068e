#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a program from outside (SIGTERM, SIGINT, SIGHUP)
// into a Qt signal on the thread of the message loop, through a pipe that the
// signal handler writes one byte into: a handler may not save files itself.
class EndSignals : public QObject
{
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

signals:
    void endRequested();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
