#include "MessageBoxSink.h"

#include "Program.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSink::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, Program::applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
