#include "tests/support/TestMain.h"
#include "tests/window/MainWindowTest.h"

BRISAVELA_TEST_MAIN(MainWindowTest)
