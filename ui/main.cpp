#include "App.h"
#include "HeapTuning.h"
#include "Program.h"
#include "Version.h"

#include <QApplication>

int main(int argc, char** argv)
{
    HeapTuning::keepFreedMemory();
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(ShortVersion);
    core::App app;
    ui::Program program(app);
    return program.exec();
}
