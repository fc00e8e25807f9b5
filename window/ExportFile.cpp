#include "window/ExportFile.h"

#include "store/MessagePresenter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace ExportFile {

QString askWithDialog(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filters,
                      QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filters, selectedFilter);
}

QString startFolder(const QString &lastFolder)
{
    if (!lastFolder.isEmpty())
        return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() || !QDir(documents).exists() ? QDir::homePath() : documents;
}

QString stem(const QString &raceName)
{
    QString name = raceName.simplified();
    name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
    name.remove(QRegularExpression(QStringLiteral("^[_.]+|_+$")));
    return name;
}

bool mayWrite(const Services &services, const QString &caption, const QString &path, QWidget *window)
{
    return !QFileInfo::exists(path)
           || services.messages.show(MessagePresenter::Icon::Question, caption,
                                     QCoreApplication::translate("ExportFile",
                                                                 "Die Datei %1 gibt es schon. Soll sie ersetzt werden?")
                                         .arg(QDir::toNativeSeparators(path)),
                                     MessageRequest::Yes | MessageRequest::No, window)
                  == MessageRequest::Yes;
}

} // namespace ExportFile
