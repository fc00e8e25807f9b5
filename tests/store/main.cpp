#include "tests/store/PositionStoreTest.h"
#include "tests/store/SchemaTest.h"
#include "tests/support/TestMain.h"

BRISAVELA_TEST_MAIN(SchemaTest, PositionStoreTest)
