#include "tests/support/TileServerFixture.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>

TileServerFixture::TileServerFixture()
{
    m_server.listen();
    m_server.setHandler([this](const HttpRequest &request) { return respond(request); });
}

QUrl TileServerFixture::baseUrl() const
{
    QString base = m_server.baseUrl().toString();
    base.chop(1);
    return QUrl(base);
}

QString TileServerFixture::path(int z, int x, int y)
{
    return QStringLiteral("/%1/%2/%3.png").arg(z).arg(x).arg(y);
}

QList<HttpRequest> TileServerFixture::requestsFor(int z, int x, int y) const
{
    return m_server.requestsTo(path(z, x, y));
}

QImage TileServerFixture::tileImage(int z, int x, int y)
{
    QImage image(256, 256, QImage::Format_RGB32);
    // Distinct, pale colours per tile, so neighbours and misplaced tiles are easy to tell apart.
    const int hue = int((quint32(x) * 73u + quint32(y) * 151u + quint32(z) * 31u) % 360u);
    image.fill(QColor::fromHsv(hue, 60, 235));
    QPainter painter(&image);
    painter.setPen(QColor(120, 140, 160));
    painter.drawRect(0, 0, 255, 255);
    painter.drawText(QRect(0, 0, 256, 256), Qt::AlignCenter, QStringLiteral("%1/%2/%3").arg(z).arg(x).arg(y));
    return image;
}

QByteArray TileServerFixture::png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

HttpResponse TileServerFixture::respond(const HttpRequest &request) const
{
    static const QRegularExpression pattern(QStringLiteral("^/(\\d+)/(\\d+)/(\\d+)\\.png$"));
    const QString p = request.path();
    Mode mode = m_modes.value(p, m_mode);
    if (mode == Mode::Redirect && p.startsWith(QStringLiteral("/moved")))
        mode = Mode::Tiles;
    switch (mode) {
    case Mode::NotFound:
        return HttpResponse::error(404, "no such tile");
    case Mode::ServerError:
        return HttpResponse::error(500, "broken");
    case Mode::Garbage:
        return HttpResponse::ok(QByteArrayLiteral("\x89PNG\r\n\x1a\nthis is not really an image"), "image/png");
    case Mode::Empty:
        return HttpResponse::ok(QByteArray(), "image/png");
    case Mode::Html:
        return HttpResponse::ok("<html><body>Access blocked</body></html>", "text/html");
    case Mode::Stall:
        return HttpResponse::failing(HttpResponse::Fault::Stall);
    case Mode::Redirect:
        return HttpResponse::redirect(QByteArray("/moved") + p.toLatin1());
    case Mode::ResetMidBody:
        return HttpResponse::failing(HttpResponse::Fault::ResetMidBody, png(tileImage(1, 2, 3)));
    case Mode::Oversized: {
        static const QByteArray huge = [] {
            QImage image(4096, 4096, QImage::Format_Mono);
            image.fill(0);
            return png(image);
        }();
        return HttpResponse::ok(huge, "image/png");
    }
    case Mode::Endless:
        return HttpResponse::endless(png(tileImage(1, 2, 3)).repeated(40));
    case Mode::RedirectAway:
        return HttpResponse::redirect(m_redirectTarget.toString().toLatin1() + p.toLatin1());
    case Mode::Tiles:
        break;
    }
    QString tilePath = p;
    if (tilePath.startsWith(QStringLiteral("/moved")))
        tilePath = tilePath.mid(6);
    const QRegularExpressionMatch tile = pattern.match(tilePath);
    if (!tile.hasMatch())
        return HttpResponse::error(404);
    const int z = tile.captured(1).toInt();
    HttpResponse response =
        HttpResponse::ok(png(tileImage(z, tile.captured(2).toInt(), tile.captured(3).toInt())), "image/png");
    response.delayMs = m_delays.value(z, 0);
    return response;
}
