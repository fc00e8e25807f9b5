#include "window/RankingExportAction.h"

#include "race/RankingCsvWriter.h"
#include "store/MessagePresenter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString caption()
{
    return QCoreApplication::translate("RankingExportAction", "Rangliste exportieren");
}

QString dialogChoice(QWidget *parent, const QString &title, const QString &suggestedPath, const QString &filters,
                     QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, filters, selectedFilter);
}
} // namespace

RankingExportAction::RankingExportAction(QWidget *window, Services services, std::function<Ranking()> ranking,
                                         std::function<QString()> raceName)
    : QObject(window)
    , m_window(window)
    , m_services(services)
    , m_ranking(std::move(ranking))
    , m_raceName(std::move(raceName))
    , m_chooser(dialogChoice)
{
}

QString RankingExportAction::csvFilter()
{
    return tr("CSV-Datei (*.csv)");
}

void RankingExportAction::exportRanking()
{
    const Ranking ranking = m_ranking();
    if (ranking.isEmpty()) {
        m_services.messages.show(MessagePresenter::Icon::Information, caption(),
                                 tr("Es gibt nichts zu exportieren: kein Boot ist angezeigt."), MessageRequest::Ok,
                                 m_window);
        return;
    }
    QString filter = csvFilter();
    const QString chosen = m_chooser(m_window, caption(), suggestedPath(), csvFilter(), &filter);
    if (chosen.isEmpty())
        return;
    const QString path = completedPath(chosen);
    if (path.isEmpty())
        return;
    m_lastFolder = QFileInfo(path).absolutePath();
    QString reason;
    if (!RankingCsvWriter::write(ranking, path, &reason))
        m_services.messages.show(MessagePresenter::Icon::Warning, caption(),
                                 tr("Die Rangliste konnte nicht in die Datei %1 geschrieben werden.")
                                     .arg(QDir::toNativeSeparators(path)),
                                 MessageRequest::Ok, m_window, reason);
}

QString RankingExportAction::suggestedPath() const
{
    QString folder = m_lastFolder;
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir::homePath();
    }
    // Race names hold commas and spaces; the file name keeps letters, digits, dots and dashes.
    QString name = m_raceName().simplified();
    name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
    name.remove(QRegularExpression(QStringLiteral("^[_.]+|_+$")));
    name = name.isEmpty() ? QStringLiteral("Rangliste") : name + QStringLiteral("_Rangliste");
    return folder + QLatin1Char('/') + name + QStringLiteral(".csv");
}

QString RankingExportAction::completedPath(QString path) const
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return path;
    path += QStringLiteral(".csv");
    // The dialog asked about replacing the name as typed, not about this one.
    if (QFileInfo::exists(path)
        && m_services.messages.show(MessagePresenter::Icon::Question, caption(),
                                    tr("Die Datei %1 gibt es schon. Soll sie ersetzt werden?")
                                        .arg(QDir::toNativeSeparators(path)),
                                    MessageRequest::Yes | MessageRequest::No, m_window)
               != MessageRequest::Yes) {
        return QString();
    }
    return path;
}
