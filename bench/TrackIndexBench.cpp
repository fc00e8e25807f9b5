// What the track indexes cost and bring: file size and the time to read every boat's track
// of a large race, for the unique index alone and with the covering index beside it.
// Positions are stored the way fetching stores them: a few per boat per answer, so one
// boat's rows are spread over the whole table.
//   bench_track_index [boats] [positions per boat] [positions per answer]
#include "store/Clock.h"
#include "store/DatabaseSchema.h"
#include "store/LocalDatabase.h"
#include "store/MessagePresenter.h"
#include "store/Sql.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {
class SilentBoxes : public MessagePresenter
{
public:
    Button present(const MessageRequest &) override { return MessageRequest::Ok; }
};

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

void fill(int boats, int positions, int perAnswer)
{
    QSqlDatabase::database().transaction();
    QSqlQuery track;
    track.prepare(Sql::Track::insert);
    for (int first = 0; first < positions; first += perAnswer) {
        for (int b = 0; b < boats; ++b) {
            for (int i = first; i < std::min(positions, first + perAnswer); ++i) {
                track.bindValue(QStringLiteral(":ship_id"), 5000 + b);
                track.bindValue(QStringLiteral(":regatta_id"), 125);
                track.bindValue(QStringLiteral(":lat"), 42.5 + 0.3 * std::sin(i * 0.001 + b));
                track.bindValue(QStringLiteral(":lng"), 16.0 + 0.3 * std::cos(i * 0.0013 + b));
                track.bindValue(QStringLiteral(":tstamp"), 1712743200 + 60 * i);
                track.exec();
            }
        }
    }
    QSqlDatabase::database().commit();
}

double readAllTracks(int boats)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(Sql::Track::selectOfShip);
    qint64 rows = 0;
    for (int b = 0; b < boats; ++b) {
        query.bindValue(QStringLiteral(":ship_id"), 5000 + b);
        query.bindValue(QStringLiteral(":regatta_id"), 125);
        query.exec();
        while (query.next())
            rows += query.value(2).toInt() != 0;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int boats = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const int positions = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    const int perAnswer = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 5;
    SilentBoxes boxes;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    struct Variant
    {
        const char *name;
        QStringList indexes;
    };
    const Variant variants[] = {
        {"no index", {}},
        {"unique (ship, event, time)", {Sql::Track::createUniqueIndex}},
        {"unique + covering (ship, event, time, lat, lng)",
         {Sql::Track::createUniqueIndex,
          QStringLiteral("CREATE INDEX track_ship_event_time ON track (ship_id, regatta_id, tstamp, lat, lng)")}},
    };
    out() << boats << " boats x " << positions << " positions, " << perAnswer << " per answer" << Qt::endl;
    for (const Variant &v : variants) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("bench.db"));
        bool existed = false;
        LocalDatabase::open(path, &existed);
        DatabaseSchema::createOrUpgrade(existed, boxes);
        fill(boats, positions, perAnswer);
        QSqlQuery query;
        for (const QString &statement : v.indexes)
            query.exec(statement);
        query.exec(QStringLiteral("VACUUM"));
        QList<double> runs;
        for (int i = 0; i < 5; ++i)
            runs << readAllTracks(boats);
        const double mib = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
        out() << v.name << ": file " << QString::number(mib, 'f', 1) << " MiB, all tracks read in "
              << QString::number(median(runs), 'f', 1) << " ms (median of 5)" << Qt::endl;
        LocalDatabase::close();
    }
    return 0;
}
