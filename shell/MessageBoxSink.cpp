#include "MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSink::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
