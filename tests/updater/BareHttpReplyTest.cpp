#include "tests/updater/BareHttpReplyTest.h"

#include "tools/httpserver/LocalHttpServer.h"
#include "updater/UpdaterNetwork.h"

#include <QAuthenticator>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
struct Fetch
{
    explicit Fetch(const QUrl &url, const QList<QPair<QByteArray, QByteArray>> &headers = {})
    {
        QNetworkRequest request = UpdaterNetwork::bareRequest(url);
        for (const auto &h : headers)
            request.setRawHeader(h.first, h.second);
        reply.reset(network.get(request));
        finishedSpy = std::make_unique<QSignalSpy>(reply.get(), &QNetworkReply::finished);
        managerSpy = std::make_unique<QSignalSpy>(&network, &QNetworkAccessManager::finished);
        QObject::connect(reply.get(), &QNetworkReply::readyRead, [this] { body += reply->readAll(); });
    }

    bool wait() { return QTest::qWaitFor([this] { return reply->isFinished(); }, 5000); }
    int status() const { return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); }

    UpdaterNetwork network;
    std::unique_ptr<QNetworkReply> reply;
    std::unique_ptr<QSignalSpy> finishedSpy;
    std::unique_ptr<QSignalSpy> managerSpy;
    QByteArray body;
};

QUrl at(const LocalHttpServer &server, const QString &path)
{
    return server.baseUrl().resolved(QUrl(path));
}
} // namespace

void BareHttpReplyTest::sendsOnlyTheHeadersItIsGiven()
{
    LocalHttpServer server;
    QVERIFY(server.listen());
    server.setHandler([](const HttpRequest &) { return HttpResponse::ok("fine"); });
    Fetch fetch(at(server, QStringLiteral("/a%20b/notes.html?lang=de&x=%2F")), {{"X-Extra", "1"}});
    QVERIFY(fetch.wait());
    QCOMPARE(fetch.reply->error(), QNetworkReply::NoError);
    QCOMPARE(fetch.body, QByteArray("fine"));

    QCOMPARE(server.requests().size(), 1);
    const HttpRequest &request = server.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.target, QByteArray("/a%20b/notes.html?lang=de&x=%2F"));
    QList<QByteArray> names;
    for (const auto &h : request.headers)
        names << h.first;
    QCOMPARE(names, (QList<QByteArray>{"Host", "Connection", "X-Extra"}));
    QCOMPARE(request.header("Host"), server.baseUrl().authority().toLatin1());
}

void BareHttpReplyTest::readsEveryKindOfBody_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("length") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more") << QByteArray("hello");
    QTest::newRow("chunked") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                           "5\r\nhello\r\n7;ext=1\r\n, world\r\n0\r\nX-Trailer: t\r\n\r\n")
                             << QByteArray("hello, world");
    QTest::newRow("until the end") << QByteArray("HTTP/1.1 200 OK\r\n\r\nall of it") << QByteArray("all of it");
    QTest::newRow("interim answer and bare line ends")
        << QByteArray("HTTP/1.1 100 Continue\n\nHTTP/1.1 200 OK\nContent-Length: 2\n\nok") << QByteArray("ok");
    QTest::newRow("no content") << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << QByteArray();
}

void BareHttpReplyTest::readsEveryKindOfBody()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, body);
    LocalHttpServer server;
    QVERIFY(server.listen());
    server.setHandler([answer](const HttpRequest &) { return HttpResponse::raw(answer); });
    Fetch fetch(at(server, QStringLiteral("/x")));
    QVERIFY(fetch.wait());
    QCOMPARE(fetch.reply->error(), QNetworkReply::NoError);
    QCOMPARE(fetch.body + fetch.reply->readAll(), body);
    QCOMPARE(fetch.finishedSpy->size(), 1);
    QCOMPARE(fetch.managerSpy->size(), 1);
}

void BareHttpReplyTest::reportsHttpAndNetworkErrors_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("error");
    QTest::newRow("not found") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone")
                               << int(QNetworkReply::ContentNotFoundError);
    QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 0\r\n\r\n")
                                  << int(QNetworkReply::InternalServerError);
    QTest::newRow("not HTTP") << QByteArray("SSH-2.0-OpenSSH\r\n\r\n") << int(QNetworkReply::ProtocolFailure);
    QTest::newRow("cut short") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this")
                               << int(QNetworkReply::RemoteHostClosedError);
    QTest::newRow("broken chunk") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n")
                                  << int(QNetworkReply::ProtocolFailure);
    QTest::newRow("no answer") << QByteArray() << int(QNetworkReply::RemoteHostClosedError);
    QTest::newRow("nobody listens") << QByteArray("-") << int(QNetworkReply::ConnectionRefusedError);
}

void BareHttpReplyTest::reportsHttpAndNetworkErrors()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, error);
    auto server = std::make_unique<LocalHttpServer>();
    QVERIFY(server->listen());
    server->setHandler([answer](const HttpRequest &) {
        return answer.isEmpty() ? HttpResponse::failing(HttpResponse::Fault::CloseBeforeAnswer) : HttpResponse::raw(answer);
    });
    const QUrl url = at(*server, QStringLiteral("/x"));
    if (answer == "-")
        server.reset();
    Fetch fetch(url);
    QSignalSpy errors(fetch.reply.get(), &QNetworkReply::errorOccurred);
    QVERIFY(fetch.wait());
    QCOMPARE(int(fetch.reply->error()), error);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(fetch.finishedSpy->size(), 1);
    QVERIFY(!fetch.reply->errorString().isEmpty());
    if (error == QNetworkReply::ContentNotFoundError) {
        QCOMPARE(fetch.status(), 404);
        QCOMPARE(fetch.body, QByteArray("gone"));
    }
}

void BareHttpReplyTest::followsRedirectionsOnlyOverHttp()
{
    LocalHttpServer server;
    QVERIFY(server.listen());
    server.setHandler([](const HttpRequest &r) {
        if (r.path().endsWith(QLatin1String("/old")))
            return HttpResponse::redirect("new?q=1", 301);
        if (r.path() == QLatin1String("/file"))
            return HttpResponse::redirect("file:///etc/hostname");
        if (r.path() == QLatin1String("/loop"))
            return HttpResponse::redirect("/loop", 307);
        return HttpResponse::ok("arrived");
    });

    Fetch moved(at(server, QStringLiteral("/dir/old")));
    QSignalSpy redirected(moved.reply.get(), &QNetworkReply::redirected);
    QVERIFY(moved.wait());
    QCOMPARE(moved.reply->error(), QNetworkReply::NoError);
    QCOMPARE(moved.body, QByteArray("arrived"));
    QCOMPARE(moved.reply->url(), at(server, QStringLiteral("/dir/new?q=1")));
    QCOMPARE(redirected.size(), 1);

    Fetch local(at(server, QStringLiteral("/file")));
    QVERIFY(local.wait());
    QCOMPARE(local.reply->error(), QNetworkReply::ProtocolUnknownError);
    QVERIFY(local.reply->errorString().contains(QStringLiteral("file:///etc/hostname")));
    QVERIFY(local.body.isEmpty());

    server.clearRequests();
    Fetch loop(at(server, QStringLiteral("/loop")));
    QVERIFY(loop.wait());
    QCOMPARE(loop.reply->error(), QNetworkReply::TooManyRedirectsError);
    QCOMPARE(server.requests().size(), 11);

    // With the manual policy the target is only reported.
    QNetworkRequest manual = UpdaterNetwork::bareRequest(at(server, QStringLiteral("/old")));
    manual.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    UpdaterNetwork network;
    std::unique_ptr<QNetworkReply> reply(network.get(manual));
    QVERIFY(QTest::qWaitFor([&] { return reply->isFinished(); }, 5000));
    QCOMPARE(reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl(), QUrl(QStringLiteral("new?q=1")));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 301);
}

void BareHttpReplyTest::answersBasicAuthentication()
{
    LocalHttpServer server;
    QVERIFY(server.listen());
    server.setHandler([](const HttpRequest &r) {
        if (r.header("Authorization") == "Basic " + QByteArray("anna:geheim").toBase64())
            return HttpResponse::ok("inside");
        HttpResponse refused = HttpResponse::error(401, "no");
        refused.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"downloads\"")));
        return refused;
    });
    for (const QString &password : {QStringLiteral("geheim"), QStringLiteral("falsch")}) {
        server.clearRequests();
        Fetch fetch(at(server, QStringLiteral("/private")));
        int asked = 0;
        QObject::connect(&fetch.network, &QNetworkAccessManager::authenticationRequired,
                         [&](QNetworkReply *reply, QAuthenticator *authenticator) {
                             ++asked;
                             // As the updater does: fill in once, give up when asked again.
                             if (authenticator->user().isEmpty()) {
                                 authenticator->setUser(QStringLiteral("anna"));
                                 authenticator->setPassword(password);
                             } else {
                                 reply->abort();
                             }
                         });
        QVERIFY(fetch.wait());
        if (password == QLatin1String("geheim")) {
            QCOMPARE(fetch.reply->error(), QNetworkReply::NoError);
            QCOMPARE(fetch.body, QByteArray("inside"));
            QCOMPARE(asked, 1);
        } else {
            QCOMPARE(fetch.reply->error(), QNetworkReply::OperationCanceledError);
            QCOMPARE(asked, 2);
        }
        QCOMPARE(server.requests().size(), 2);
        QVERIFY(!server.requests().first().hasHeader("Authorization"));
    }
}
