#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Everything a message box shows, so that a presenter can display or record it.
struct MessageRequest
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QString informativeText;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QWidget *parent = nullptr;
};

// Every message box of the program goes through the installed presenter. The default
// shows a real modal QMessageBox; tests install a recorder so nothing ever blocks.
class MessagePresenter
{
public:
    virtual ~MessagePresenter();
    virtual QMessageBox::StandardButton present(const MessageRequest &request) = 0;

    // nullptr restores the default presenter. The presenter is not owned. Returns the
    // presenter installed before.
    static MessagePresenter *install(MessagePresenter *presenter);
    static MessagePresenter &current();

    static QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString &title,
                                            const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QWidget *parent = nullptr,
                                            const QString &informativeText = QString());
};

class QtMessagePresenter : public MessagePresenter
{
public:
    QMessageBox::StandardButton present(const MessageRequest &request) override;
};
