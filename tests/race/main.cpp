#include "tests/race/BoatProgressTest.h"
#include "tests/race/CourseCatalogueTest.h"
#include "tests/race/DemoRaceAnalysisTest.h"
#include "tests/race/GateCatalogueTest.h"
#include "tests/race/RankingCsvWriterTest.h"
#include "tests/race/RankingTest.h"
#include "tests/race/RecordedRaceTest.h"
#include "tests/race/RegattaTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(GateCatalogueTest, RegattaTest, CourseCatalogueTest, BoatProgressTest, RankingTest,
                    RankingCsvWriterTest, RecordedRaceTest, DemoRaceAnalysisTest)
