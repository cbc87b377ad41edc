#include "TestEnvironment.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return TestEnvironment::runAllTests<QApplication>(argc, argv);
}
