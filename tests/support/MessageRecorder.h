#pragma once

#include "store/MessagePresenter.h"

#include <QList>
#include <QStringList>

class TestMessages;

// Stands in for real message boxes: stores what would have been shown and answers it at
// once, with the button a test chose or else the first button the box offers. Handed to
// what a test builds, or made on a test's TestMessages, whose boxes it then takes while it
// lives.
class MessageRecorder : public MessagePresenter
{
public:
    MessageRecorder();
    explicit MessageRecorder(TestMessages &messages);
    ~MessageRecorder() override;

    Button present(const MessageRequest &request) override;

    void answerWith(Button button) { m_answer = button; }
    const QList<MessageRequest> &shown() const { return m_shown; }
    QStringList titles() const;
    void clear() { m_shown.clear(); }

    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

private:
    QList<MessageRequest> m_shown;
    Button m_answer = MessageRequest::NoButton;
    TestMessages *m_messages = nullptr;
};

// The message presenter a test hands to what it builds. A box goes to the newest
// MessageRecorder made on it; with none, nobody expected it: it fails the running test, or,
// outside any test function, the test program.
class TestMessages : public MessagePresenter
{
public:
    Button present(const MessageRequest &request) override;
    int unexpected() const { return m_unexpected; }
    // Unexpected boxes of the whole program that came outside any test function.
    static int unexpectedOutsideTests();

private:
    friend class MessageRecorder;
    QList<MessageRecorder *> m_recorders;
    int m_unexpected = 0;
};
