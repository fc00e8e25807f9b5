#include "tests/support/TestMain.h"
#include "tests/updater/BareHttpReplyTest.h"
#include "tests/updater/FeedReaderTest.h"
#include "tests/updater/InstallTest.h"
#include "tests/updater/UpdaterTest.h"
#include "tests/updater/VersionPolicyTest.h"

BRISAVELA_TEST_MAIN(VersionPolicyTest, FeedReaderTest, BareHttpReplyTest, UpdaterTest, InstallTest)
