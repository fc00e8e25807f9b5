#include "tests/race/BoatProgressTest.h"
#include "tests/race/DemoRaceAnalysisTest.h"
#include "tests/race/GateCatalogueTest.h"
#include "tests/race/RankingTest.h"
#include "tests/race/RegattaTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(GateCatalogueTest, RegattaTest, BoatProgressTest, RankingTest, DemoRaceAnalysisTest)
