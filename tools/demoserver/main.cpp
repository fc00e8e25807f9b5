// The demo tracking server: serves the bundled recorded race to the viewer on 127.0.0.1.
//   brisavela-demoserver [--port N] [--offer-update VERSION] [--signing-key BASE64]
#include "tools/demoserver/DemoServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <sodium.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brisavela demo tracking server"));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port to listen on."), QStringLiteral("N"),
                                  QStringLiteral("8380"));
    const QCommandLineOption offer(QStringLiteral("offer-update"), QStringLiteral("Version the update feed offers."),
                                   QStringLiteral("VERSION"), QStringLiteral("2.24.0"));
    const QCommandLineOption key(QStringLiteral("signing-key"),
                                 QStringLiteral("Ed25519 secret key (base64) to sign the offered installer."),
                                 QStringLiteral("BASE64"));
    parser.addOptions({port, offer, key});
    parser.process(app);
    if (sodium_init() < 0)
        return 2;

    DemoServer::Options options;
    options.port = quint16(parser.value(port).toUInt());
    options.offeredVersion = parser.value(offer);
    options.signingKey = parser.value(key).toLatin1();
    DemoServer server(options);
    QTextStream out(stdout);
    if (!server.listen()) {
        out << "demo server: port " << options.port << " is not free" << Qt::endl;
        return 1;
    }
    out << "demo server: " << server.boatCount() << " boats on http://127.0.0.1:" << server.port() << "/, feed offers "
        << options.offeredVersion << Qt::endl;
    return QCoreApplication::exec();
}
