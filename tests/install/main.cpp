#include "tests/install/AssetLocatorTest.h"
#include "tests/install/DebianPackageTest.h"
#include "tests/install/InstallTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(AssetLocatorTest, InstallTest, DebianPackageTest)
