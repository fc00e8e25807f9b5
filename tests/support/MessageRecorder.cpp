#include "tests/support/MessageRecorder.h"

MessageRecorder::MessageRecorder()
    : m_previous(MessagePresenter::install(this))
{
}

MessageRecorder::~MessageRecorder()
{
    MessagePresenter::install(m_previous);
}

QMessageBox::StandardButton MessageRecorder::present(const MessageRequest &request)
{
    m_shown.append(request);
    if (m_answer != QMessageBox::NoButton)
        return m_answer;
    for (int bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (request.buttons & bit)
            return static_cast<QMessageBox::StandardButton>(bit);
    }
    return QMessageBox::NoButton;
}

QStringList MessageRecorder::titles() const
{
    QStringList result;
    for (const MessageRequest &request : m_shown)
        result << request.title;
    return result;
}
