#include "tests/faults/CrashSafetyTest.h"
#include "tests/faults/DiskFaultTest.h"
#include "tests/faults/TileFaultTest.h"
#include "tests/faults/TrackingFaultTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(TrackingFaultTest, TileFaultTest, DiskFaultTest, CrashSafetyTest)
