#include "tools/demoprofile/DemoProfile.h"

#include "store/DatabaseSchema.h"
#include "store/Environment.h"
#include "store/LocalDatabase.h"
#include "store/MessagePresenter.h"
#include "store/PrefsTable.h"
#include "store/RegattaTable.h"
#include "tools/regattasim/RaceBook.h"

#include <QDir>
#include <QSettings>

namespace {
// Answers every box at once and keeps its title, so setting up the demo shows nothing.
class SilentPresenter : public MessagePresenter
{
public:
    Button present(const MessageRequest &request) override
    {
        messages.append(request.title);
        return request.buttons & MessageRequest::Ok ? MessageRequest::Ok : MessageRequest::Cancel;
    }
    QStringList messages;
};

SilentPresenter &presenter()
{
    static SilentPresenter p;
    return p;
}

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
    Environment environment;
    environment.setDataFolder(dataFolder);

    bool existed = false;
    const QString path = environment.databasePath();
    if (!LocalDatabase::open(path, &existed))
        return QStringLiteral("cannot open %1").arg(path);
    DatabaseSchema::createOrUpgrade(existed, presenter());
    LocalDatabase::ensureIndexes();

    // The demo's own rows: the live race, and a fetch every minute.
    Race live;
    live.eventId = RaceBook::liveEventId;
    live.taskId = RaceBook::liveTaskId;
    live.name = QString::fromUtf8(RaceBook::liveRaceName);
    const RaceDefinition window = RaceBook::live(options.liveStart);
    live.von = int(window.von);
    live.bis = int(window.bis);
    const bool ok = RegattaTable::append(live) && PrefsTable::setLoadInterval(1);
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
