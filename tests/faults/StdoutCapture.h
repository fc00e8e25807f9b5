#pragma once

#include <QByteArray>
#include <QString>

// Catches what the program writes to its standard output while the object lives: some of
// its diagnostics go there rather than to the message handler.
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();

    // Everything written so far.
    QString text();

    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;

private:
    void restore();

    int m_saved = -1;
    QString m_path;
    QByteArray m_text;
};
