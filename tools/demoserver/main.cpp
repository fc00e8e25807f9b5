// The demo tracking server: simulated races, chart tiles and an update feed on 127.0.0.1.
//   brisavela-demoserver [--port N] [--live-start EPOCH] [--tile-cache DIR]
//                        [--offer-update VERSION] [--signing-key BASE64]
#include "tools/demoserver/DemoServer.h"
#include "tools/regattasim/RaceBook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QStandardPaths>
#include <QTextStream>

#include <sodium.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brisavela-demoserver"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brisavela demo tracking server"));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port to listen on."), QStringLiteral("N"),
                                  QStringLiteral("8380"));
    const QCommandLineOption live(QStringLiteral("live-start"),
                                  QStringLiteral("Start of the live race in seconds since 1970 "
                                                 "(default: half an hour ago, on a whole minute)."),
                                  QStringLiteral("EPOCH"));
    const QCommandLineOption cache(QStringLiteral("tile-cache"),
                                   QStringLiteral("Folder for drawn chart tiles (default: the user's cache folder)."),
                                   QStringLiteral("DIR"));
    const QCommandLineOption offer(QStringLiteral("offer-update"), QStringLiteral("Version the update feed offers."),
                                   QStringLiteral("VERSION"), QStringLiteral(BRISAVELA_VERSION));
    const QCommandLineOption key(QStringLiteral("signing-key"),
                                 QStringLiteral("Ed25519 secret key (base64) to sign the offered installer."),
                                 QStringLiteral("BASE64"));
    parser.addOptions({port, live, cache, offer, key});
    parser.process(app);
    if (sodium_init() < 0)
        return 2;

    DemoServer::Options options;
    options.port = quint16(parser.value(port).toUInt());
    options.offeredVersion = parser.value(offer);
    options.signingKey = parser.value(key).toLatin1();
    options.liveStart = parser.isSet(live) ? parser.value(live).toLongLong()
                                           : RaceBook::defaultLiveStart(QDateTime::currentSecsSinceEpoch());
    options.tileCache = parser.isSet(cache)
                            ? parser.value(cache)
                            : QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/tiles");
    DemoServer server(options);
    QTextStream out(stdout);
    if (!server.coastlineProblem().isEmpty())
        out << "demo server: no coastline in " << server.coastlineProblem() << ", the chart is all sea" << Qt::endl;
    if (!server.listen()) {
        out << "demo server: port " << options.port << " is not free" << Qt::endl;
        return 1;
    }
    out << "demo server: http://127.0.0.1:" << server.port() << "/, live race since "
        << QDateTime::fromSecsSinceEpoch(options.liveStart).toString(Qt::ISODate) << ", feed offers "
        << options.offeredVersion << Qt::endl;
    return QCoreApplication::exec();
}
