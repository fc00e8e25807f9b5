#include "tests/chart/ChartFitTest.h"
#include "tests/chart/ChartRepaintTest.h"
#include "tests/chart/GateItemTest.h"
#include "tests/chart/GeoTest.h"
#include "tests/chart/KarteInputTest.h"
#include "tests/chart/ReadoutTest.h"
#include "tests/chart/ShipTest.h"
#include "tests/chart/TileCacheTest.h"
#include "tests/chart/TileGridTest.h"
#include "tests/chart/TrackLayerTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(TileGridTest, TileCacheTest, KarteInputTest, GeoTest, ShipTest, GateItemTest, ChartRepaintTest,
                    TrackLayerTest, ChartFitTest, ReadoutTest)
