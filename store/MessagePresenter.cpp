#include "store/MessagePresenter.h"

namespace {
MessagePresenter *installed = nullptr;
}

MessagePresenter::~MessagePresenter() = default;

MessagePresenter *MessagePresenter::install(MessagePresenter *presenter)
{
    MessagePresenter *previous = installed;
    installed = presenter;
    return previous;
}

MessagePresenter &MessagePresenter::current()
{
    static QtMessagePresenter fallback;
    return installed ? *installed : fallback;
}

QMessageBox::StandardButton MessagePresenter::show(QMessageBox::Icon icon, const QString &title,
                                                   const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QWidget *parent,
                                                   const QString &informativeText)
{
    MessageRequest request;
    request.icon = icon;
    request.title = title;
    request.text = text;
    request.informativeText = informativeText;
    request.buttons = buttons;
    request.parent = parent;
    return current().present(request);
}

QMessageBox::StandardButton QtMessagePresenter::present(const MessageRequest &request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons, request.parent);
    if (!request.informativeText.isEmpty())
        box.setInformativeText(request.informativeText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
