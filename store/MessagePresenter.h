#pragma once

#include <QFlags>
#include <QString>

class QWidget;

// Everything a message box shows, so that a presenter can display or record it.
struct MessageRequest
{
    enum class Icon { NoIcon, Information, Question, Warning, Critical };
    enum Button { NoButton = 0, Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };
    Q_DECLARE_FLAGS(Buttons, Button)

    Icon icon = Icon::NoIcon;
    QString title;
    QString text;
    QString informativeText;
    Buttons buttons = Ok;
    QWidget *parent = nullptr;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageRequest::Buttons)

// Every message box of the program goes through a presenter that start-up hands down: the
// program's shows a real modal box, tests record what would have been shown and answer it,
// so nothing ever blocks.
class MessagePresenter
{
public:
    using Icon = MessageRequest::Icon;
    using Button = MessageRequest::Button;
    using Buttons = MessageRequest::Buttons;

    virtual ~MessagePresenter();
    // Shows the box and returns the button pressed.
    virtual Button present(const MessageRequest &request) = 0;

    Button show(Icon icon, const QString &title, const QString &text, Buttons buttons, QWidget *parent = nullptr,
                const QString &informativeText = QString());
};
