#include "tests/support/TrackingServerFixture.h"

TrackingServerFixture::TrackingServerFixture()
{
    m_server.listen();
    m_server.setHandler([this](const HttpRequest &request) { return respond(request); });
}

QList<HttpRequest> TrackingServerFixture::positionRequests(int shipId) const
{
    QList<HttpRequest> result;
    for (const HttpRequest &r : requests(positionsPath)) {
        if (r.query().queryItemValue(QStringLiteral("bo")).toInt() == shipId)
            result << r;
    }
    return result;
}

void TrackingServerFixture::clearFaults()
{
    m_faults.clear();
    m_delays.clear();
}

QString TrackingServerFixture::boatLine(const QString &klasse, int id, const QString &startnr, const QString &name,
                                        const QString &team, const QString &skipper, int firstTime, int raceId)
{
    return QStringList{klasse, QString::number(id), QStringLiteral("x"), startnr, name, team, skipper,
                       QStringLiteral("y"), QString::number(firstTime), QString::number(raceId)}
        .join(QLatin1Char('|'));
}

QByteArray TrackingServerFixture::positionLine(const RaceData::Fix &fix, double course)
{
    return QByteArray::number(fix.lat, 'f', 6) + ';' + QByteArray::number(fix.lng, 'f', 6) + ';'
           + QByteArray::number(fix.time) + ';' + QByteArray::number(course, 'f', 1) + ";12.5";
}

HttpResponse TrackingServerFixture::withFault(const QString &path, HttpResponse response) const
{
    response.delayMs = m_delays.value(path, 0);
    switch (m_faults.value(path, Fault::None)) {
    case Fault::None:
        break;
    case Fault::ServerError:
        response.status = 500;
        response.body = "internal error";
        break;
    case Fault::ResetMidBody:
        response.fault = HttpResponse::Fault::ResetMidBody;
        break;
    case Fault::Stall:
        response.fault = HttpResponse::Fault::Stall;
        break;
    case Fault::CloseBeforeAnswer:
        response.fault = HttpResponse::Fault::CloseBeforeAnswer;
        break;
    case Fault::Garbage:
        response.body = "<html>\x01\x02 kein Text;;;\n|||\n";
        break;
    }
    return response;
}

HttpResponse TrackingServerFixture::respond(const HttpRequest &request)
{
    const QString path = request.path();
    const QUrlQuery query = request.query();
    if (path == QLatin1String(probePath))
        return withFault(path, HttpResponse::ok("OK"));
    if (path == QLatin1String(boatsPath)) {
        const int event = query.queryItemValue(QStringLiteral("rg")).toInt();
        return withFault(path, HttpResponse::ok(m_boats.value(event).join(QLatin1Char('\n')).toUtf8() + '\n'));
    }
    if (path == QLatin1String(positionsPath)) {
        const int ship = query.queryItemValue(QStringLiteral("bo")).toInt();
        if (m_rawPositions.contains(ship))
            return withFault(path, HttpResponse::ok(m_rawPositions.value(ship)));
        QList<QByteArray> &queue = m_bodyQueues[ship];
        if (!queue.isEmpty())
            return withFault(path, HttpResponse::ok(queue.size() > 1 ? queue.takeFirst() : queue.first()));
        const int since = query.queryItemValue(QStringLiteral("la")).toInt();
        QByteArray body;
        for (const RaceData::Fix &fix : m_positions.value(ship)) {
            if (fix.time > since || (m_repeatsLast && fix.time == since))
                body += positionLine(fix) + '\n';
        }
        HttpResponse response = withFault(path, HttpResponse::ok(body));
        if (m_shipDelays.contains(ship))
            response.delayMs = m_shipDelays.value(ship);
        return response;
    }
    return HttpResponse::error(404);
}
