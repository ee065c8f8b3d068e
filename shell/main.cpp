#include "Environment.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const Environment environment = Environment::system(QCoreApplication::applicationDirPath());
    Program program(environment);
    program.start();
    return application.exec();
}
