#include "tests/demo/ChartTilesTest.h"
#include "tests/demo/DemoServerTest.h"
#include "tests/demo/SimulationTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(ChartTilesTest, DemoServerTest, SimulationTest)
