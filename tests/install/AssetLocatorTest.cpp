#include "tests/install/AssetLocatorTest.h"

#include "store/AssetLocator.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

void AssetLocatorTest::workingFolderFirstThenDataFolders()
{
    const QString icon = QStringLiteral("img/playbutton.png");
    const QString installed = TestEnvironment::dataHome() + QStringLiteral("/brisavela/") + icon;
    QVERIFY(QDir().mkpath(TestEnvironment::dataHome() + QStringLiteral("/brisavela/img")));
    QVERIFY(QFile::copy(icon, installed));

    // The tests run in the source root, which has its own copy: that one is used, as a
    // viewer started there has always done.
    QCOMPARE(AssetLocator::assetPath(icon), icon);

    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(TestEnvironment::freshFolder(QStringLiteral("elsewhere"))));
    LogCapture log;
    const QString elsewhere = AssetLocator::assetPath(icon);
    const QString missing = AssetLocator::assetPath(QStringLiteral("img/nirgends.png"));
    QDir::setCurrent(home);
    QCOMPARE(elsewhere, installed);
    // A file found nowhere keeps its relative name, so it stays missing as before, and says so.
    QCOMPARE(missing, QStringLiteral("img/nirgends.png"));
    QVERIFY(log.contains(QStringLiteral("AssetLocator::assetPath, nicht gefunden: \"img/nirgends.png\"")));
}
