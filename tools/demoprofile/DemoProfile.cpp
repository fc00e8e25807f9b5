#include "tools/demoprofile/DemoProfile.h"

#include "store/DatabaseSchema.h"
#include "store/Environment.h"
#include "store/LocalDatabase.h"
#include "store/MessagePresenter.h"
#include "tools/regattasim/RaceBook.h"

#include <QDir>
#include <QSettings>
#include <QSqlQuery>

namespace {
// Answers every box at once and keeps its title, so setting up the demo shows nothing.
class SilentPresenter : public MessagePresenter
{
public:
    QMessageBox::StandardButton present(const MessageRequest &request) override
    {
        messages.append(request.title);
        if (request.buttons & QMessageBox::Ok)
            return QMessageBox::Ok;
        return QMessageBox::Cancel;
    }
    QStringList messages;
};

SilentPresenter &presenter()
{
    static SilentPresenter p;
    return p;
}

// The demo's own rows; the program itself never writes races or the fetch interval.
const QString insertRace = QStringLiteral(
    "INSERT INTO regatta (id, event_id, task_id, name, von, bis, showcompletetracks) "
    "VALUES ((SELECT MAX(id) + 1 FROM regatta), :event_id, :task_id, :name, :von, :bis, 0)");
const QString setLoadInterval = QStringLiteral("UPDATE prefs SET loadinterval=:loadinterval WHERE id=1");
} // namespace

QStringList DemoProfile::silencedMessages()
{
    return presenter().messages;
}

QString DemoProfile::write(const Options &options)
{
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
        if (qEnvironmentVariableIsEmpty(name))
            return QStringLiteral("%1 is not set; the demo profile is written only to folders of its own")
                .arg(QLatin1String(name));
    }
    // Every run starts the demo afresh: a new database, new settings, no cached tiles.
    const QString dataFolder = Environment::defaultDataFolder();
    QDir(dataFolder).removeRecursively();
    if (!QDir().mkpath(dataFolder + QStringLiteral("/maps")))
        return QStringLiteral("cannot create %1").arg(dataFolder);
    Environment::setDataFolder(dataFolder);

    MessagePresenter *previous = MessagePresenter::install(&presenter());
    bool existed = false;
    const QString path = Environment::databasePath();
    if (!LocalDatabase::open(path, &existed)) {
        MessagePresenter::install(previous);
        return QStringLiteral("cannot open %1").arg(path);
    }
    DatabaseSchema::createOrUpgrade(existed);
    LocalDatabase::ensureIndexes();
    MessagePresenter::install(previous);

    bool ok = true;
    {
        QSqlQuery race;
        race.prepare(insertRace);
        race.bindValue(QStringLiteral(":event_id"), RaceBook::liveEventId);
        race.bindValue(QStringLiteral(":task_id"), RaceBook::liveTaskId);
        race.bindValue(QStringLiteral(":name"), QString::fromUtf8(RaceBook::liveRaceName));
        const RaceDefinition live = RaceBook::live(options.liveStart);
        race.bindValue(QStringLiteral(":von"), live.von);
        race.bindValue(QStringLiteral(":bis"), live.bis);
        ok = race.exec();
        QSqlQuery interval;
        interval.prepare(setLoadInterval);
        interval.bindValue(QStringLiteral(":loadinterval"), 1);
        ok = interval.exec() && ok;
    }
    LocalDatabase::close();
    if (!ok)
        return QStringLiteral("cannot write the demo's rows into %1").arg(path);

    std::unique_ptr<QSettings> settings = Environment::settingsStore();
    settings->clear();
    const QString server = options.server.toString();
    QString tiles = server;
    while (tiles.endsWith(QLatin1Char('/')))
        tiles.chop(1);
    settings->setValue(QLatin1String(Environment::keyTrackingServer), server);
    settings->setValue(QLatin1String(Environment::keyDownloadServer), server);
    settings->setValue(QLatin1String(Environment::keyTileServer), tiles);
    settings->setValue(QLatin1String(Environment::keyEventId), 125);
    settings->setValue(QLatin1String(Environment::keyTaskId), 281);
    settings->setValue(QLatin1String(Environment::keySplitterOpen), true);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        return QStringLiteral("cannot write the settings %1").arg(settings->fileName());
    return {};
}
