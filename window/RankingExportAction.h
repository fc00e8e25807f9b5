#pragma once

#include "race/Ranking.h"
#include "store/Services.h"
#include "window/TrackExportAction.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// "Rangliste exportieren…": asks for a file and writes the ranking at the replay time as
// CSV, the boats the "Rangliste" tab lists. Problems are told in a message box.
class RankingExportAction : public QObject
{
    Q_OBJECT
public:
    using FileChooser = TrackExportAction::FileChooser;

    // ranking: the ranking at the replay time; raceName: for the suggested file name.
    RankingExportAction(QWidget *window, Services services, std::function<Ranking()> ranking,
                        std::function<QString()> raceName);

    // The save dialog by default; tests give the file name directly.
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    static QString csvFilter();

public slots:
    void exportRanking();

private:
    QString suggestedPath() const;
    // With the suffix added when the name has none; empty when the user declines to
    // replace a file of that name.
    QString completedPath(QString path) const;

    QWidget *m_window;
    Services m_services;
    std::function<Ranking()> m_ranking;
    std::function<QString()> m_raceName;
    FileChooser m_chooser;
    QString m_lastFolder;
};
