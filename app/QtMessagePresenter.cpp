#include "app/QtMessagePresenter.h"

#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(MessageRequest::Icon icon)
{
    switch (icon) {
    case MessageRequest::Icon::Information:
        return QMessageBox::Information;
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
    QMessageBox::StandardButtons buttons;
    if (request.buttons & MessageRequest::Ok)
        buttons |= QMessageBox::Ok;
    if (request.buttons & MessageRequest::Cancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(boxIcon(request.icon), request.title, request.text, buttons, request.parent);
    if (!request.informativeText.isEmpty())
        box.setInformativeText(request.informativeText);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageRequest::Ok;
    case QMessageBox::Cancel:
        return MessageRequest::Cancel;
    default:
        return MessageRequest::NoButton;
    }
}
