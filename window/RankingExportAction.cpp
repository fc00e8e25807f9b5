#include "window/RankingExportAction.h"

#include "race/RankingCsvWriter.h"
#include "store/MessagePresenter.h"
#include "window/ExportFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {
QString caption()
{
    return QCoreApplication::translate("RankingExportAction", "Rangliste exportieren");
}
} // namespace

RankingExportAction::RankingExportAction(QWidget *window, Services services, std::function<Ranking()> ranking,
                                         std::function<QString()> raceName)
    : QObject(window)
    , m_window(window)
    , m_services(services)
    , m_ranking(std::move(ranking))
    , m_raceName(std::move(raceName))
    , m_chooser(ExportFile::askWithDialog)
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
    const QString name = ExportFile::stem(m_raceName());
    return ExportFile::startFolder(m_lastFolder) + QLatin1Char('/')
           + (name.isEmpty() ? QStringLiteral("Rangliste") : name + QStringLiteral("_Rangliste")) + QStringLiteral(".csv");
}

QString RankingExportAction::completedPath(QString path) const
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return path;
    path += QStringLiteral(".csv");
    return ExportFile::mayWrite(m_services, caption(), path, m_window) ? path : QString();
}
