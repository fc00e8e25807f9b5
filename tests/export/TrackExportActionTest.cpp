#include "tests/export/TrackExportActionTest.h"

#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowRig.h"
#include "window/SettingsPage.h"
#include "window/TrackExportAction.h"

#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTest>
#include <QXmlStreamReader>

namespace {
constexpr int von = 1712743200;

QAction *exportEntry(MainWindow &window)
{
    for (QAction *a : window.menuBar()->actions().first()->menu()->actions()) {
        if (a->text() == QStringLiteral("Tracks exportieren…"))
            return a;
    }
    return nullptr;
}

// The name of every boat in a track file, with the number of its timed positions.
QList<std::pair<QString, int>> boatsIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<std::pair<QString, int>> boats;
    bool inBoat = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && (xml.name() == QLatin1String("trk") || xml.name() == QLatin1String("Placemark")))
            inBoat = false;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("trk") || xml.name() == QLatin1String("Placemark")) {
            boats.append({QString(), 0});
            inBoat = true;
        } else if (inBoat && xml.name() == QLatin1String("name") && boats.last().first.isEmpty()) {
            boats.last().first = xml.readElementText();
        } else if (inBoat && (xml.name() == QLatin1String("time") || xml.name() == QLatin1String("when"))) {
            ++boats.last().second;
        }
    }
    return xml.hasError() ? QList<std::pair<QString, int>>() : boats;
}

// Notes every progress dialog that shows itself while it lives.
class ProgressWatch : public QObject
{
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog *>(watched))
            ++shown;
        return false;
    }
};

// Answers the save dialog with a fixed path and filter, and keeps what it was offered.
struct Chooser
{
    QString path;
    QString filter = TrackExportAction::gpxFilter();
    int asked = 0;
    QString suggested = {};

    TrackExportAction::FileChooser function()
    {
        return [this](QWidget *, const QString &caption, const QString &suggestedPath, const QString &filters,
                      QString *selected) {
            ++asked;
            suggested = suggestedPath;
            if (caption != QLatin1String("Tracks exportieren") || !filters.contains(*selected))
                return QString();
            *selected = filter;
            return path;
        };
    }
};
} // namespace

void TrackExportActionTest::init()
{
    TestEnvironment::reset();
}

void TrackExportActionTest::shownBoatsUpToTheReplayTimeOrComplete()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    rig.window->shiponoff(rig.item(202), false);
    // Ten minutes in: the boats start five seconds apart and report every minute.
    rig.window->setTimeValue(von + 600);
    auto *action = rig.window->findChild<TrackExportAction *>();
    QVERIFY(action);
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("export"));
    Chooser chooser{folder + QStringLiteral("/rennen"), TrackExportAction::kmlFilter()};
    action->setFileChooser(chooser.function());

    ProgressWatch watch;
    QAction *entry = exportEntry(*rig.window);
    QVERIFY(entry);
    entry->trigger();
    QCOMPARE(chooser.asked, 1);
    // A race's name has spaces and commas; the suggested file name does not.
    QVERIFY2(chooser.suggested.endsWith(QLatin1String(".gpx")) && !chooser.suggested.contains(QLatin1Char(',')),
             qPrintable(chooser.suggested));
    // The filter chosen decides the format and the suffix of a name typed without one.
    // In the order of the participant list; Bora's fixes fall on the full minute, the
    // others' five and ten seconds later.
    const QList<std::pair<QString, int>> upToNow = {
        {QStringLiteral("Jugo"), 10}, {QStringLiteral("Bora"), 11}, {QStringLiteral("Maestral"), 10}};
    QCOMPARE(boatsIn(folder + QStringLiteral("/rennen.kml")), upToNow);
    // A small race is written at once, without a progress dialog.
    QCOMPARE(watch.shown, 0);

    // "komplette Tracks anzeigen": every position, whatever the replay time.
    rig.window->settingsPage()->completeTracksBox()->click();
    chooser.path = folder + QStringLiteral("/komplett.gpx");
    exportEntry(*rig.window)->trigger();
    // The dialog opens where the last file went, with its format.
    QVERIFY2(chooser.suggested.startsWith(folder + QLatin1Char('/')) && chooser.suggested.endsWith(QLatin1String(".kml")),
             qPrintable(chooser.suggested));
    const QList<std::pair<QString, int>> complete = {
        {QStringLiteral("Jugo"), 61}, {QStringLiteral("Bora"), 61}, {QStringLiteral("Maestral"), 61}};
    QCOMPARE(boatsIn(folder + QStringLiteral("/komplett.gpx")), complete);
}

void TrackExportActionTest::typedNameWithoutSuffixAsksBeforeReplacing()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    const QString folder = TestEnvironment::freshFolder(QStringLiteral("replace"));
    const QString existing = folder + QStringLiteral("/rennen.gpx");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("alt");
    file.close();
    Chooser chooser{folder + QStringLiteral("/rennen")};
    rig.window->findChild<TrackExportAction *>()->setFileChooser(chooser.function());

    // The dialog asked about "rennen", not about the file the suffix makes of it.
    MessageRecorder boxes(rig.services.messages);
    boxes.answerWith(MessageRequest::No);
    exportEntry(*rig.window)->trigger();
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Tracks exportieren")});
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Question);
    QVERIFY(boxes.shown().first().text.contains(existing));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("alt"));
    file.close();

    boxes.clear();
    boxes.answerWith(MessageRequest::Yes);
    exportEntry(*rig.window)->trigger();
    QCOMPARE(boxes.shown().size(), 1);
    QCOMPARE(boatsIn(existing).size(), 4);
}

void TrackExportActionTest::unwritableTargetIsToldInGerman()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    // A folder that is a file: nobody, root included, can create a file in it.
    const QString notAFolder = TestEnvironment::freshFolder(QStringLiteral("unwritable")) + QStringLiteral("/datei");
    QFile blocker(notAFolder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString target = notAFolder + QStringLiteral("/rennen.gpx");
    Chooser chooser{target};
    rig.window->findChild<TrackExportAction *>()->setFileChooser(chooser.function());

    MessageRecorder boxes(rig.services.messages);
    exportEntry(*rig.window)->trigger();
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Tracks exportieren")});
    const MessageRequest &box = boxes.shown().first();
    QCOMPARE(box.icon, MessagePresenter::Icon::Warning);
    QCOMPARE(box.text, QStringLiteral("Die Tracks konnten nicht in die Datei %1 geschrieben werden.").arg(target));
    // The system's reason comes with it.
    QVERIFY(!box.informativeText.isEmpty());
    QCOMPARE(box.parent, rig.window.get());
}

void TrackExportActionTest::nothingShownAsksForNoFile()
{
    WindowRig rig;
    storeFleet(von);
    rig.start();
    for (int id : {101, 102, 201, 202})
        rig.window->shiponoff(rig.item(id), false);
    Chooser chooser{TestEnvironment::freshFolder(QStringLiteral("nothing")) + QStringLiteral("/rennen.gpx")};
    rig.window->findChild<TrackExportAction *>()->setFileChooser(chooser.function());

    MessageRecorder boxes(rig.services.messages);
    exportEntry(*rig.window)->trigger();
    QCOMPARE(chooser.asked, 0);
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Tracks exportieren")});
    QCOMPARE(boxes.shown().first().icon, MessagePresenter::Icon::Information);
    QVERIFY(!QFile::exists(chooser.path));
}
