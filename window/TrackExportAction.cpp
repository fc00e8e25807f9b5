#include "window/TrackExportAction.h"

#include "race/ExportSelection.h"
#include "race/GpxWriter.h"
#include "race/KmlWriter.h"
#include "race/Regatta.h"
#include "store/Clock.h"
#include "store/MessagePresenter.h"
#include "window/ExportFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QSaveFile>

namespace {
QString caption()
{
    return QCoreApplication::translate("TrackExportAction", "Tracks exportieren");
}

QString suffixOf(TrackExportAction::Format format)
{
    return format == TrackExportAction::Format::Kml ? QStringLiteral("kml") : QStringLiteral("gpx");
}
} // namespace

TrackExportAction::TrackExportAction(QWidget *window, Services services, std::function<const Regatta *()> regatta,
                                     std::function<int()> replayTime)
    : QObject(window)
    , m_window(window)
    , m_services(services)
    , m_regatta(std::move(regatta))
    , m_replayTime(std::move(replayTime))
    , m_chooser(ExportFile::askWithDialog)
{
}

QString TrackExportAction::gpxFilter()
{
    return tr("GPX-Datei (*.gpx)");
}

QString TrackExportAction::kmlFilter()
{
    return tr("KML-Datei (*.kml)");
}

void TrackExportAction::exportTracks()
{
    // Until the progress dialog shows, the window still takes clicks while a file is written.
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    const Regatta *regatta = m_regatta();
    ExportedRace race;
    if (regatta)
        race = ExportSelection::collect(regatta->raceName(), regatta->ships(), m_replayTime(), m_services.clock.nowSeconds());
    if (race.boats.isEmpty()) {
        m_services.messages.show(MessagePresenter::Icon::Information, caption(),
                               tr("Es gibt nichts zu exportieren: kein angezeigtes Boot hat bis zur "
                                  "eingestellten Zeit eine Position."),
                               MessageRequest::Ok, m_window);
        return;
    }

    QString filter = m_lastFormat == Format::Kml ? kmlFilter() : gpxFilter();
    const QString chosen = m_chooser(m_window, caption(), suggestedPath(race.name, m_lastFormat),
                                     gpxFilter() + QStringLiteral(";;") + kmlFilter(), &filter);
    if (chosen.isEmpty())
        return;
    Format format = Format::Gpx;
    const QString path = completedPath(chosen, filter, &format);
    if (path.isEmpty())
        return;
    m_lastFolder = QFileInfo(path).absolutePath();
    m_lastFormat = format;
    write(path, format, race);
}

QString TrackExportAction::suggestedPath(const QString &raceName, Format format) const
{
    QString name = ExportFile::stem(raceName);
    if (name.isEmpty())
        name = QStringLiteral("Tracks");
    return ExportFile::startFolder(m_lastFolder) + QLatin1Char('/') + name + QLatin1Char('.') + suffixOf(format);
}

QString TrackExportAction::completedPath(QString path, const QString &filter, Format *format) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("kml") || suffix == QLatin1String("gpx")) {
        *format = suffix == QLatin1String("kml") ? Format::Kml : Format::Gpx;
        return path;
    }
    *format = filter == kmlFilter() ? Format::Kml : Format::Gpx;
    path += QLatin1Char('.') + suffixOf(*format);
    return ExportFile::mayWrite(m_services, caption(), path, m_window) ? path : QString();
}

void TrackExportAction::write(const QString &path, Format format, const ExportedRace &race)
{
    // Written beside the target and renamed at the end: a failed or cancelled export
    // leaves an existing file as it was and no half-written one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        tellFailure(path, file.errorString());
        return;
    }
    const qint64 total = race.fixCount();
    QProgressDialog progress(tr("Tracks werden exportiert …"), tr("Abbrechen"), 0, 1000, m_window);
    progress.setWindowTitle(caption());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    progress.setAutoClose(false);
    progress.setValue(0);
    const ExportProgress report = [&](qint64 written) {
        progress.setValue(int(total > 0 ? written * 1000 / total : 1000));
        return !progress.wasCanceled();
    };
    const ExportResult result = format == Format::Kml ? KmlWriter::write(file, race, report)
                                                      : GpxWriter::write(file, race, report);
    progress.reset();
    if (result == ExportResult::Cancelled) {
        file.cancelWriting();
        return;
    }
    if (result == ExportResult::Failed || !file.commit())
        tellFailure(path, file.errorString());
}

void TrackExportAction::tellFailure(const QString &path, const QString &reason) const
{
    m_services.messages.show(MessagePresenter::Icon::Warning, caption(),
                           tr("Die Tracks konnten nicht in die Datei %1 geschrieben werden.")
                               .arg(QDir::toNativeSeparators(path)),
                           MessageRequest::Ok, m_window, reason);
}
