#pragma once

#include <QByteArray>
#include <QString>

// One HTTP GET on 127.0.0.1, waited for.
namespace HttpGet {
struct Answer
{
    int status = 0;
    QByteArray body;
};
Answer get(quint16 port, const QString &pathAndQuery);
}
