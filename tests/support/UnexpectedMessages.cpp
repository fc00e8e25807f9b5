#include "tests/support/UnexpectedMessages.h"

#include <QTest>

QMessageBox::StandardButton UnexpectedMessages::present(const MessageRequest &request)
{
    const QByteArray what = QStringLiteral("unexpected message box \"%1\": \"%2\"")
                                .arg(request.title, request.text)
                                .toUtf8();
    if (QTest::currentTestFunction()) {
        QTest::qFail(what.constData(), __FILE__, __LINE__);
    } else {
        qCritical("%s", what.constData());
        ++m_outsideTests;
    }
    return MessageRecorder::present(request);
}
