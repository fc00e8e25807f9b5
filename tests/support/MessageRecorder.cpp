#include "tests/support/MessageRecorder.h"

#include <QTest>

MessageRecorder::MessageRecorder() = default;

MessageRecorder::MessageRecorder(TestMessages &messages)
    : m_messages(&messages)
{
    messages.m_recorders.append(this);
}

MessageRecorder::~MessageRecorder()
{
    if (m_messages)
        m_messages->m_recorders.removeOne(this);
}

MessagePresenter::Button MessageRecorder::present(const MessageRequest &request)
{
    m_shown.append(request);
    if (m_answer != MessageRequest::NoButton)
        return m_answer;
    for (const MessageRequest::Button button :
         {MessageRequest::Ok, MessageRequest::Cancel, MessageRequest::Yes, MessageRequest::No}) {
        if (request.buttons & button)
            return button;
    }
    return MessageRequest::NoButton;
}

QStringList MessageRecorder::titles() const
{
    QStringList result;
    for (const MessageRequest &request : m_shown)
        result << request.title;
    return result;
}

namespace {
int outsideTests = 0;
} // namespace

int TestMessages::unexpectedOutsideTests()
{
    return outsideTests;
}

MessagePresenter::Button TestMessages::present(const MessageRequest &request)
{
    if (!m_recorders.isEmpty())
        return m_recorders.last()->present(request);
    ++m_unexpected;
    const QByteArray what =
        QStringLiteral("unexpected message box \"%1\": \"%2\"").arg(request.title, request.text).toUtf8();
    if (QTest::currentTestFunction())
        QTest::qFail(what.constData(), __FILE__, __LINE__);
    else {
        ++outsideTests;
        qCritical("%s", what.constData());
    }
    // Answered all the same, so nothing blocks.
    return request.buttons & MessageRequest::Ok ? MessageRequest::Ok : MessageRequest::Cancel;
}
