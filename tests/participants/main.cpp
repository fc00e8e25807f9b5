#include "tests/participants/IconSelectorTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(IconSelectorTest)
