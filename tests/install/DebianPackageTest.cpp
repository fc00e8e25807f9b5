#include "tests/install/DebianPackageTest.h"

#include "tests/install/InstalledViewer.h"
#include "tests/support/ExternalTool.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

void DebianPackageTest::initTestCase()
{
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("deb"));
    const ExternalTool cpack = ExternalTool::run(
        QStringLiteral(BRISAVELA_CPACK),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
         QStringLiteral(BRISAVELA_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), folder},
        240000);
    QVERIFY2(cpack.succeeded(), qPrintable(cpack.output));
    const QStringList debs = QDir(folder).entryList({QStringLiteral("brisavela_2.24.0_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_package = folder + QLatin1Char('/') + debs.first();
}

void DebianPackageTest::packageHoldsTheInstallTree()
{
    const ExternalTool listing = ExternalTool::run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_package});
    QVERIFY2(listing.succeeded(), qPrintable(listing.output));
    QStringList files;
    for (const QString &line : listing.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // "-rwxr-xr-x root/root 123456 2026-12-08 15:00 ./usr/bin/brisavela"
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 6 && columns[1] == QLatin1String("root/root"), qPrintable(line));
        if (line.startsWith(QLatin1Char('-')))
            files << columns.last().mid(int(qstrlen("./usr/")));
    }
    files.sort();
    QCOMPARE(files, InstalledViewer::files());
    QVERIFY(listing.output.contains(QRegularExpression(QStringLiteral("\\n-rwxr-xr-x root/root .* \\./usr/bin/brisavela\\n"))));
}

void DebianPackageTest::dependenciesNameTheLibrariesAndTheSqliteDriver()
{
    const ExternalTool control = ExternalTool::run(QStringLiteral("dpkg-deb"),
                                                   {QStringLiteral("-f"), m_package, QStringLiteral("Package"),
                                                    QStringLiteral("Version"), QStringLiteral("Depends")});
    QVERIFY2(control.succeeded(), qPrintable(control.output));
    QVERIFY2(control.output.contains(QStringLiteral("Package: brisavela\n")), qPrintable(control.output));
    QVERIFY2(control.output.contains(QStringLiteral("Version: 2.24.0\n")), qPrintable(control.output));
    // Found by dpkg-shlibdeps in the executable, with versions; the SQLite driver is
    // loaded at run time and named by hand.
    for (const char *library : {"libc6 (>=", "libqt6core6 (>=", "libqt6widgets6 (>=", "libqt6sql6 (>=",
                                "libqt6network6 (>=", "libsodium23 (>=", "libqt6sql6-sqlite"}) {
        QVERIFY2(control.output.contains(QLatin1String(library)), qPrintable(control.output));
    }
}

void DebianPackageTest::unpackedViewerStartsFromAnotherFolder()
{
    // Unpacked rather than installed: the test must not change the machine it runs on.
    const QString root = TestEnvironment::freshFolder(QStringLiteral("unpacked"));
    const ExternalTool unpack = ExternalTool::run(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_package, root});
    QVERIFY2(unpack.succeeded(), qPrintable(unpack.output));
    QVERIFY(InstalledViewer::prepareProfile());
    const InstalledViewer::Run run =
        InstalledViewer::run(root + QStringLiteral("/usr/bin/brisavela"), root + QStringLiteral("/usr/share/brisavela"));
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure + QStringLiteral("\n") + run.output.right(3000)));
}
