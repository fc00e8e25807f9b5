#include "tests/support/TestMain.h"
#include "tests/window/ChartViewTest.h"
#include "tests/window/MainWindowTest.h"
#include "tests/window/RaceDataIntegrityTest.h"
#include "tests/window/RaceLoadingTest.h"
#include "tests/window/RankingTabTest.h"
#include "tests/window/ReadoutsTest.h"
#include "tests/window/ReplayControlsTest.h"
#include "tests/window/ReplayTest.h"
#include "tests/window/StatusAndHelpTest.h"
#include "tests/window/TrackingClientTest.h"
#include "tests/window/TrackingProtocolTest.h"

BRISAVELA_TEST_MAIN(MainWindowTest, ReplayTest, TrackingProtocolTest, TrackingClientTest, RaceDataIntegrityTest,
                   RaceLoadingTest, ReplayControlsTest, ChartViewTest, ReadoutsTest, StatusAndHelpTest,
                   RankingTabTest)
