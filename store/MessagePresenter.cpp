#include "store/MessagePresenter.h"

MessagePresenter::~MessagePresenter() = default;

MessagePresenter::Button MessagePresenter::show(Icon icon, const QString &title, const QString &text, Buttons buttons,
                                                QWidget *parent, const QString &informativeText)
{
    MessageRequest request;
    request.icon = icon;
    request.title = title;
    request.text = text;
    request.informativeText = informativeText;
    request.buttons = buttons;
    request.parent = parent;
    return present(request);
}
