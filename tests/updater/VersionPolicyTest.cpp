#include "tests/updater/VersionPolicyTest.h"

#include "tests/support/LogCapture.h"
#include "tests/support/TestEnvironment.h"
#include "updater/IgnoredVersions.h"
#include "updater/UpdatePlatform.h"
#include "updater/VersionCompare.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>

void VersionPolicyTest::init()
{
    TestEnvironment::reset();
    QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()).clear();
}

void VersionPolicyTest::compareVersionStrings_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("result");
    QTest::newRow("newer minor") << "2.24.0" << "2.25" << -1;
    QTest::newRow("same") << "2.24.0" << "2.24.0" << 0;
    QTest::newRow("shorter is older") << "2.24.0" << "2.24" << 1;
    QTest::newRow("fourth part") << "2.24.0" << "2.24.0.1" << -1;
    QTest::newRow("numbers by value") << "2.9" << "2.10" << -1;
    QTest::newRow("leading zeros") << "2.010" << "2.10" << 0;
    QTest::newRow("b older than be") << "1.0b" << "1.0be" << -1;
    QTest::newRow("be newer than b") << "1.0be" << "1.0b" << 1;
    QTest::newRow("b equals beta") << "1.0b" << "1.0beta" << 0;
    QTest::newRow("release newer than beta") << "1.0" << "1.0b1" << 1;
    QTest::newRow("beta older than release") << "1.0b1" << "1.0" << -1;
    QTest::newRow("point release") << "1.0" << "1.0.1" << -1;
    QTest::newRow("beta numbers") << "1.0b2" << "1.0b10" << -1;
    QTest::newRow("alpha before beta") << "1.0a" << "1.0b" << -1;
    QTest::newRow("text older than number") << "1.x" << "1.1" << -1;
    QTest::newRow("number newer than separator") << "1.1" << "1..1" << 1;
    QTest::newRow("blank is a separator") << "1 0" << "1.0" << 0;
    QTest::newRow("both empty") << "" << "" << 0;
    QTest::newRow("empty is older") << "" << "1" << -1;
    QTest::newRow("huge numbers") << "99999999999999" << "2147483647" << 0;
}

void VersionPolicyTest::compareVersionStrings()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, result);
    QCOMPARE(CompareVersionStrings(a, b), result);
    QCOMPARE(CompareVersionStrings(b, a), -result);
}

void VersionPolicyTest::onlyStrictlyNewerVersionsAreWanted()
{
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("2.24.0"));
    QVERIFY(!IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.25")));
    QVERIFY(IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.24.0")));
    QVERIFY(IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.24")));
    QVERIFY(!IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.24.0.1")));
    QVERIFY(IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.23.9")));
    QVERIFY(IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.24.0b1")));
}

void VersionPolicyTest::skippedVersionIsRemembered()
{
    IgnoredVersions::SkipVersion(QStringLiteral("2.25"));
    QVERIFY(IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.25")));
    QVERIFY(!IgnoredVersions::VersionIsUnwanted(QStringLiteral("2.26")));
    const QSettings store(QStringLiteral("q.u.a.r.l.o."), QStringLiteral("Brisavela2023"));
    QCOMPARE(store.value(QStringLiteral("LatestSkippedVersion")).toString(), QStringLiteral("2.25"));
    // The running version and an empty one are never stored.
    IgnoredVersions::SkipVersion(QStringLiteral("2.24.0"));
    IgnoredVersions::SkipVersion(QString());
    QCOMPARE(QSettings(QStringLiteral("q.u.a.r.l.o."), QStringLiteral("Brisavela2023"))
                 .value(QStringLiteral("LatestSkippedVersion"))
                 .toString(),
             QStringLiteral("2.25"));
}

void VersionPolicyTest::platformProgramTypeAndMinimumVersion()
{
    QVERIFY(UpdatePlatform::PlatformMatches(QStringLiteral("Q_OS_LINUX")));
    QVERIFY(UpdatePlatform::PlatformMatches(QStringLiteral("  q_os_linux ")));
    QVERIFY(!UpdatePlatform::PlatformMatches(QStringLiteral("Q_OS_WIN32")));
    QVERIFY(!UpdatePlatform::PlatformMatches(QStringLiteral("   ")));
    QVERIFY(!UpdatePlatform::PlatformMatches(QString()));

    LogCapture log;
    QVERIFY(IgnoredVersions::ProgramTypeIsRight(QStringLiteral("FULL")));
    QVERIFY(log.contains(QStringLiteral("IgnoredVersions::ProgramTypeIsRight( \"FULL\" )")));
    QVERIFY(!IgnoredVersions::ProgramTypeIsRight(QStringLiteral("full")));
    QVERIFY(log.contains(QStringLiteral(" Falscher Download fuer diesen Programmtyp, angeboten wurde  \"full\"")));

    QVERIFY(IgnoredVersions::MinPrevVersionIsMet(QStringLiteral("2.24.0")));
    QVERIFY(IgnoredVersions::MinPrevVersionIsMet(QStringLiteral("2.20")));
    QVERIFY(log.containsPart(QStringLiteral("ist zu hoch, die DLL ( \"2.20\" ) muss nicht installiert werden.")));
    QVERIFY(!IgnoredVersions::MinPrevVersionIsMet(QStringLiteral("2.30")));
    QVERIFY(log.containsPart(QStringLiteral("ist zu niedrig, vor Installation der DLL ( \"2.30\" ) eine neuere suchen!")));
}
