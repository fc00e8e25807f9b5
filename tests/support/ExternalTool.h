#pragma once

#include <QString>
#include <QStringList>

// Runs a program the tests check or build files with (xmllint, ogrinfo, cpack, dpkg-deb)
// and keeps what it said.
struct ExternalTool
{
    int exitCode = -1;
    QString output; // standard output and error together

    static ExternalTool run(const QString &program, const QStringList &arguments, int timeoutMs = 60000);
    bool succeeded() const { return exitCode == 0; }
};
