#include "tests/window/StatusAndHelpTest.h"

#include "store/AppIdentity.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/AboutDialog.h"
#include "window/KeysDialog.h"
#include "window/StatusNote.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

namespace {
constexpr int von = 1712743200;
// Mid-afternoon on a day of the race.
constexpr int noon = 1712750400;

QString clockTime(qint64 t, const char *format)
{
    return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QLatin1String(format));
}
} // namespace

void StatusAndHelpTest::init()
{
    TestEnvironment::reset();
}

void StatusAndHelpTest::failedFetchesAreSaidWithTheTimeOfTheLastData()
{
    WindowRig rig;
    storeFleet(von);
    rig.clock.pin(noon);
    rig.start(125, 281);
    QCOMPARE(rig.window->lastFetchLabel()->text(), QStringLiteral("Letzter Abruf: –"));

    // The server hangs up on every position request.
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::CloseBeforeAnswer);
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.window->statusBar()->currentMessage(), QStringLiteral("Server nicht erreichbar – noch keine Daten abgerufen"));

    // It answers again: the probe first, then a fetch. The note goes, the time shows.
    rig.tracking.clearFaults();
    rig.window->getData();
    QVERIFY(QTest::qWaitFor([&] { return rig.window->serverUp(); }));
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.window->lastFetchLabel()->text(), QStringLiteral("Letzter Abruf: %1").arg(clockTime(noon, "hh:mm:ss")));
    QVERIFY(rig.window->statusBar()->currentMessage().isEmpty());
    QVERIFY(!rig.window->fetchHealth()->failing());

    // Half an hour later the server fails with an error of its own.
    rig.clock.pin(noon + 1800);
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::ServerError);
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.window->statusBar()->currentMessage(),
             QStringLiteral("Abruf fehlgeschlagen (HTTP 500) – letzte Daten %1").arg(clockTime(noon, "hh:mm")));
    QVERIFY(rig.window->fetchHealth()->failing());
    QCOMPARE(rig.window->lastFetchLabel()->toolTip(), rig.window->statusBar()->currentMessage());
    // The last good fetch stays what the line shows.
    QCOMPARE(rig.window->lastFetchLabel()->text(), QStringLiteral("Letzter Abruf: %1").arg(clockTime(noon, "hh:mm:ss")));

    // The message has the line up to the time of the last good fetch, which stays in sight.
    const QStatusBar *bar = rig.window->statusBar();
    QTRY_VERIFY(rig.window->lastFetchLabel()->geometry().left()
                > bar->fontMetrics().horizontalAdvance(bar->currentMessage()) + 10);
    QVERIFY(rig.window->lastFetchLabel()->isVisible());

    // A note about something else (data not stored) is not taken away by the next good
    // answer, however long it is: it leaves the attribution and the coordinates their room.
    rig.window->showStatusNote(QStringLiteral("etwas anderes, so lang, dass es nicht mehr in die Statuszeile "
                                              "passt, auch nicht in ein breites Fenster"));
    rig.tracking.clearFaults();
    rig.window->getData();
    QVERIFY(QTest::qWaitFor([&] { return rig.window->serverUp(); }));
    rig.window->getData();
    QVERIFY(rig.settle());
    QCOMPARE(rig.window->lastFetchLabel()->text(),
             QStringLiteral("Letzter Abruf: %1").arg(clockTime(noon + 1800, "hh:mm:ss")));
    QVERIFY(rig.window->statusNote()->text().startsWith(QStringLiteral("etwas anderes")));
    QLabel *thanks = rig.window->findChild<QLabel *>(QStringLiteral("danklabel"));
    QVERIFY(thanks);
    QVERIFY(thanks->width() >= thanks->sizeHint().width());
    QVERIFY(rig.window->latLabel()->geometry().left() >= thanks->geometry().right());
    QCOMPARE(rig.window->statusNote()->toolTip(), rig.window->statusNote()->text());

    // On another day, with the server gone altogether, the date goes with the time.
    rig.clock.pin(noon + 2 * 86400);
    rig.tracking.setFault(TrackingServerFixture::probePath, TrackingServerFixture::Fault::CloseBeforeAnswer);
    rig.tracking.setFault(TrackingServerFixture::positionsPath, TrackingServerFixture::Fault::CloseBeforeAnswer);
    rig.window->getData();
    QTRY_COMPARE(rig.window->statusBar()->currentMessage(),
                 QStringLiteral("Server nicht erreichbar – letzte Daten %1").arg(clockTime(noon + 1800, "dd.MM. hh:mm")));
    QVERIFY(rig.settle());
}

void StatusAndHelpTest::helpListsTheKeysAndNamesVersionLicenceAndMapData()
{
    WindowRig rig;
    QStringList view;
    for (const QAction *a : rig.window->viewMenu()->actions())
        view << a->text();
    QCOMPARE(view, (QStringList{"Flotte zeigen", "Bahn zeigen"}));
    QStringList help;
    for (const QAction *a : rig.window->helpMenu()->actions())
        help << a->text();
    QCOMPARE(help, (QStringList{"Tastenkürzel", "Über Brisavela"}));

    rig.window->keysAction()->trigger();
    KeysDialog *keys = rig.window->keysDialog();
    QVERIFY(keys && keys->isVisible());
    // It stays open beside the chart.
    QVERIFY(!keys->isModal());
    const auto *table = keys->findChild<QTableWidget *>(QStringLiteral("keysTable"));
    QVERIFY(table);
    QStringList listed;
    for (int row = 0; row < table->rowCount(); ++row)
        listed << table->item(row, 0)->text();
    for (const char *key : {"Pfeiltasten", "+ / −", "Mausrad", "Linke Maustaste ziehen", "Klick auf ein Boot",
                            "Umschalt + Maus bewegen", "Zeiger auf Boot oder Gate", "Bild auf / Bild ab",
                            "Umschalt + Bild auf / Bild ab", "Strg + Bild auf / Bild ab", "F", "Leertaste"})
        QVERIFY2(listed.contains(QString::fromUtf8(key)), key);
    QCOMPARE(table->rowCount(), int(KeysDialog::entries().size()));
    // Asking again shows the same window.
    rig.window->keysAction()->trigger();
    QCOMPARE(rig.window->keysDialog(), keys);

    rig.window->aboutAction()->trigger();
    AboutDialog *about = rig.window->aboutDialog();
    QVERIFY(about && about->isVisible() && !about->isModal());
    const QString text = about->textLabel()->text();
    QVERIFY(text.contains(QStringLiteral("Version %1").arg(QLatin1String(AppIdentity::applicationVersion))));
    QVERIFY(text.contains(QStringLiteral("Lizenz: siehe Paket")));
    QVERIFY(text.contains(QStringLiteral("OpenStreetMap")));
}
