#include "tests/e2e/EndToEndTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(EndToEndTest)
