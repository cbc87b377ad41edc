#include "TestEnvironment.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    return TestEnvironment::runAllTests<QCoreApplication>(argc, argv);
}
