// The chart on a screen with two device pixels per view pixel, as a dense laptop screen has.
#include "tests/hidpi/HighDpiTest.h"
#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    TestEnvironment::prepareProcess();
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestMain::nameApplication();
    return TestMain::run<HighDpiTest>(argc, argv);
}
