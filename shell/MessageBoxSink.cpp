#include "MessageBoxSink.h"

#include "ApplicationTitle.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSink::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
