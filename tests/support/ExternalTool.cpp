#include "tests/support/ExternalTool.h"

#include <QProcess>

ExternalTool ExternalTool::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    ExternalTool result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        result.output = QStringLiteral("%1 could not be started: %2").arg(program, process.errorString());
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("%1 did not finish").arg(program);
        return result;
    }
    result.output = QString::fromUtf8(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}
