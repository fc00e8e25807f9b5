#include "app/QtMessagePresenter.h"

#include <QMessageBox>

#include <utility>

namespace {
QMessageBox::Icon boxIcon(MessageRequest::Icon icon)
{
    switch (icon) {
    case MessageRequest::Icon::Information:
        return QMessageBox::Information;
    case MessageRequest::Icon::Question:
        return QMessageBox::Question;
    case MessageRequest::Icon::Warning:
        return QMessageBox::Warning;
    case MessageRequest::Icon::Critical:
        return QMessageBox::Critical;
    case MessageRequest::Icon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessagePresenter::Button QtMessagePresenter::present(const MessageRequest &request)
{
    const std::pair<MessageRequest::Button, QMessageBox::StandardButton> pairs[] = {
        {MessageRequest::Ok, QMessageBox::Ok},
        {MessageRequest::Cancel, QMessageBox::Cancel},
        {MessageRequest::Yes, QMessageBox::Yes},
        {MessageRequest::No, QMessageBox::No},
    };
    QMessageBox::StandardButtons buttons;
    for (const auto &[ours, theirs] : pairs) {
        if (request.buttons & ours)
            buttons |= theirs;
    }
    QMessageBox box(boxIcon(request.icon), request.title, request.text, buttons, request.parent);
    if (!request.informativeText.isEmpty())
        box.setInformativeText(request.informativeText);
    const int pressed = box.exec();
    for (const auto &[ours, theirs] : pairs) {
        if (pressed == theirs)
            return ours;
    }
    return MessageRequest::NoButton;
}
