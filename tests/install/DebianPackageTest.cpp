#include "tests/install/DebianPackageTest.h"

#include "tests/install/InstalledViewer.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
struct Output
{
    int exitCode = -1;
    QString text;
};

Output runTool(const QString &program, const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Output out;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        out.text = program + QStringLiteral(" did not finish: ") + process.errorString();
        return out;
    }
    out.text = QString::fromUtf8(process.readAll());
    out.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return out;
}
} // namespace

void DebianPackageTest::initTestCase()
{
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("deb"));
    const Output cpack = runTool(QStringLiteral(BRISAVELA_CPACK),
                                 {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                  QStringLiteral(BRISAVELA_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), folder},
                                 240000);
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.text));
    const QStringList debs = QDir(folder).entryList({QStringLiteral("brisavela_2.24.0_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_package = folder + QLatin1Char('/') + debs.first();
}

void DebianPackageTest::packageHoldsTheInstallTree()
{
    const Output listing = runTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_package});
    QVERIFY2(listing.exitCode == 0, qPrintable(listing.text));
    QStringList files;
    for (const QString &line : listing.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // "-rwxr-xr-x root/root 123456 2026-12-08 15:00 ./usr/bin/brisavela"
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 6 && columns[1] == QLatin1String("root/root"), qPrintable(line));
        if (line.startsWith(QLatin1Char('-')))
            files << columns.last().mid(int(qstrlen("./usr/")));
    }
    files.sort();
    QCOMPARE(files, InstalledViewer::files());
    QVERIFY(listing.text.contains(QRegularExpression(QStringLiteral("\\n-rwxr-xr-x root/root .* \\./usr/bin/brisavela\\n"))));
}

void DebianPackageTest::dependenciesNameTheLibrariesAndTheSqliteDriver()
{
    const Output control = runTool(QStringLiteral("dpkg-deb"),
                                   {QStringLiteral("-f"), m_package, QStringLiteral("Package"), QStringLiteral("Version"),
                                    QStringLiteral("Depends")});
    QVERIFY2(control.exitCode == 0, qPrintable(control.text));
    QVERIFY2(control.text.contains(QStringLiteral("Package: brisavela\n")), qPrintable(control.text));
    QVERIFY2(control.text.contains(QStringLiteral("Version: 2.24.0\n")), qPrintable(control.text));
    // Found by dpkg-shlibdeps in the executable, with versions; the SQLite driver is
    // loaded at run time and named by hand.
    for (const char *library : {"libc6 (>=", "libqt6core6 (>=", "libqt6widgets6 (>=", "libqt6sql6 (>=",
                                "libqt6network6 (>=", "libsodium23 (>=", "libqt6sql6-sqlite"}) {
        QVERIFY2(control.text.contains(QLatin1String(library)), qPrintable(control.text));
    }
}

void DebianPackageTest::unpackedViewerStartsFromAnotherFolder()
{
    // Unpacked rather than installed: the test must not change the machine it runs on.
    const QString root = TestEnvironment::freshFolder(QStringLiteral("unpacked"));
    const Output unpack = runTool(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_package, root});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.text));
    QVERIFY(InstalledViewer::prepareProfile());
    const InstalledViewer::Run run =
        InstalledViewer::run(root + QStringLiteral("/usr/bin/brisavela"), root + QStringLiteral("/usr/share/brisavela"));
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure + QStringLiteral("\n") + run.output.right(3000)));
}
