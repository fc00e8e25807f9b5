#pragma once

#include <QObject>

class BareHttpReplyTest : public QObject
{
    Q_OBJECT
private slots:
    void sendsOnlyTheHeadersItIsGiven();
    void readsEveryKindOfBody_data();
    void readsEveryKindOfBody();
    void reportsHttpAndNetworkErrors_data();
    void reportsHttpAndNetworkErrors();
    void followsRedirectionsOnlyOverHttp();
    void answersBasicAuthentication();
};
