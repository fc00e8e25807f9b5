#include "tests/app/StartupTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(StartupTest)
