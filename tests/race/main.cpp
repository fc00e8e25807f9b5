#include "tests/race/GateCatalogueTest.h"
#include "tests/race/RegattaTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(GateCatalogueTest, RegattaTest)
