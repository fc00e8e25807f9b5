#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Prepares the viewer's database and settings for the demo, with the program's own store
// code: the demo server for every address, the 2024 race remembered, the side panel
// open, the live race in the race list, and a fetch every minute. It works only on the
// folders the XDG variables name, so it never touches a user's real profile.
class DemoProfile
{
public:
    struct Options
    {
        QUrl server;          // "http://127.0.0.1:8380/"
        qint64 liveStart = 0; // the live race's start, as the demo server has it
    };

    // The reason the profile was not written, empty on success.
    static QString write(const Options &options);
    // The message boxes the database set-up would have shown.
    static QStringList silencedMessages();
};
