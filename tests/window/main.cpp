#include "tests/support/TestMain.h"
#include "tests/window/MainWindowTest.h"
#include "tests/window/ReplayTest.h"

BRISAVELA_TEST_MAIN(MainWindowTest, ReplayTest)
