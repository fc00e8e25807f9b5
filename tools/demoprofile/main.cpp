// Prepares the demo's own viewer profile in the folders the XDG variables name.
//   brisavela-demoprofile --server URL --live-start EPOCH
#include "tools/demoprofile/DemoProfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prepares the viewer's demo profile"));
    parser.addHelpOption();
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("The demo server's base URL."),
                                    QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:8380/"));
    const QCommandLineOption live(QStringLiteral("live-start"),
                                  QStringLiteral("Start of the live race, as given to the demo server."),
                                  QStringLiteral("EPOCH"));
    parser.addOptions({server, live});
    parser.process(app);
    QTextStream err(stderr);
    if (!parser.isSet(live)) {
        err << "demo profile: --live-start is needed, the same as the demo server's" << Qt::endl;
        return 2;
    }
    DemoProfile::Options options;
    options.server = QUrl(parser.value(server));
    options.liveStart = parser.value(live).toLongLong();
    const QString problem = DemoProfile::write(options);
    if (!problem.isEmpty()) {
        err << "demo profile: " << problem << Qt::endl;
        return 1;
    }
    return 0;
}
