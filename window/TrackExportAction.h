#pragma once

#include "race/ExportedRace.h"
#include "store/Services.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;
class Regatta;

// "Tracks exportieren…": asks for a file, collects the shown boats of the loaded race with
// their tracks up to the replay time (complete when the boats show complete tracks), and
// writes them as GPX or KML, chosen by the file's suffix. Progress is shown only when
// writing takes longer than a second; problems are told in a message box.
class TrackExportAction : public QObject
{
    Q_OBJECT
public:
    enum class Format { Gpx, Kml };

    // Asks where to write: parent, caption, suggested path, filters and the filter chosen
    // (in and out), as a save dialog takes them. An empty path means the user cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &suggestedPath,
                                              const QString &filters, QString *selectedFilter)>;

    TrackExportAction(QWidget *window, Services services, std::function<const Regatta *()> regatta,
                      std::function<int()> replayTime);

    // The save dialog by default; tests give the file name directly.
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    static QString gpxFilter();
    static QString kmlFilter();

public slots:
    void exportTracks();

private:
    QString suggestedPath(const QString &raceName, Format format) const;
    // The chosen path with the suffix of its format, which is set from the suffix or,
    // without one, from the chosen filter. Empty when the user declines to replace a file.
    QString completedPath(QString path, const QString &filter, Format *format) const;
    void write(const QString &path, Format format, const ExportedRace &race);
    void tellFailure(const QString &path, const QString &reason) const;

    QWidget *m_window;
    Services m_services;
    std::function<const Regatta *()> m_regatta;
    std::function<int()> m_replayTime;
    FileChooser m_chooser;
    QString m_lastFolder;
    bool m_running = false;
    Format m_lastFormat = Format::Gpx;
};
