#include "tests/support/TestServices.h"

TestServices::TestServices()
{
    // Nothing listens on the discard port: a test that forgets to start its own server
    // never reaches a demo server running on this machine.
    environment.setTrackingServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    environment.setDownloadServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    environment.setTileServerUrl(QUrl(QStringLiteral("http://127.0.0.1:9")));
}
