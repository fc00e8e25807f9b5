#include "tests/export/TrackExportActionTest.h"
#include "tests/export/TrackFileTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(TrackFileTest, TrackExportActionTest)
