#include "tests/install/InstallTest.h"

#include "tests/install/InstalledViewer.h"
#include "tests/support/ExternalTool.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTest>

void InstallTest::initTestCase()
{
    m_prefix = TestEnvironment::freshFolder(QStringLiteral("prefix"));
    const ExternalTool install = ExternalTool::run(
        QStringLiteral(BRISAVELA_CMAKE),
        {QStringLiteral("--install"), QStringLiteral(BRISAVELA_BUILD_DIR), QStringLiteral("--prefix"), m_prefix});
    QVERIFY2(install.succeeded(), qPrintable(install.output));
}

void InstallTest::treeHoldsViewerAssetsAndLauncher()
{
    QStringList found;
    QDirIterator it(m_prefix, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(m_prefix).relativeFilePath(it.next());
    found.sort();
    QCOMPARE(found, InstalledViewer::files());
    QVERIFY(QFileInfo(m_prefix + QStringLiteral("/bin/brisavela")).isExecutable());

    // Each icon size is what its folder says, and the scalable one is an SVG picture.
    for (int size : {48, 128, 256}) {
        const QImage icon(m_prefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/brisavela.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
    }
    QFile svg(m_prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/brisavela.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg xmlns=\"http://www.w3.org/2000/svg\""));
}

void InstallTest::installedViewerStartsFromAnotherFolder()
{
    QVERIFY(InstalledViewer::prepareProfile());
    const InstalledViewer::Run run =
        InstalledViewer::run(m_prefix + QStringLiteral("/bin/brisavela"), m_prefix + QStringLiteral("/share/brisavela"));
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure + QStringLiteral("\n") + run.output.right(3000)));
}
