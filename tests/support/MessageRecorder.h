#pragma once

#include "store/MessagePresenter.h"

#include <QList>

// Stands in for real message boxes: stores what would have been shown and answers it at
// once, with the button a test chose or else the first button the box offers.
class MessageRecorder : public MessagePresenter
{
public:
    MessageRecorder();           // installs itself
    ~MessageRecorder() override; // restores the presenter installed before

    QMessageBox::StandardButton present(const MessageRequest &request) override;

    void answerWith(QMessageBox::StandardButton button) { m_answer = button; }
    const QList<MessageRequest> &shown() const { return m_shown; }
    QStringList titles() const;
    void clear() { m_shown.clear(); }

private:
    QList<MessageRequest> m_shown;
    QMessageBox::StandardButton m_answer = QMessageBox::NoButton;
    MessagePresenter *m_previous;
};
