#include "tests/chart/KarteInputTest.h"
#include "tests/chart/TileCacheTest.h"
#include "tests/chart/TileGridTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(TileGridTest, TileCacheTest, KarteInputTest)
