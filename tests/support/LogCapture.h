#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Records the program's diagnostics while it lives, so tests can check the lines the
// program writes (text as the debug stream formats it, with its spaces and quotes).
class LogCapture
{
public:
    struct Line
    {
        QtMsgType type;
        QString text;
    };

    LogCapture();
    ~LogCapture();

    const QList<Line> &lines() const { return m_lines; }
    QStringList texts() const;
    bool contains(const QString &text) const;      // a line equal to text
    bool containsPart(const QString &part) const;  // a line containing part
    int count(const QString &text) const;
    int indexOf(const QString &text) const;        // first line equal to text, -1 if none
    void clear() { m_lines.clear(); }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QList<Line> m_lines;
    QtMessageHandler m_previous;
    LogCapture *m_outer;
};
