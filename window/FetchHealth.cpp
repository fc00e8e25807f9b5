#include "window/FetchHealth.h"

#include "store/Clock.h"
#include "window/StatusNote.h"

#include <QDateTime>
#include <QLabel>

FetchHealth::FetchHealth(StatusNote *note, QLabel *lastFetchLabel, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_note(note)
    , m_label(lastFetchLabel)
    , m_clock(clock)
{
    m_label->setText(labelText(std::nullopt));
    m_label->setToolTip(tr("Zeit der letzten Antwort des Tracking-Servers mit Positionen"));
}

QString FetchHealth::labelText(std::optional<qint64> lastSuccess)
{
    if (!lastSuccess)
        return tr("Letzter Abruf: –");
    return tr("Letzter Abruf: %1")
        .arg(QDateTime::fromSecsSinceEpoch(*lastSuccess).toLocalTime().toString(QStringLiteral("hh:mm:ss")));
}

QString FetchHealth::timeOfDay(qint64 t) const
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(t).toLocalTime();
    const bool today = when.date() == m_clock.now().toLocalTime().date();
    return when.toString(today ? QStringLiteral("hh:mm") : QStringLiteral("dd.MM. hh:mm"));
}

QString FetchHealth::failureText(int httpStatus) const
{
    const QString what = httpStatus == 0 ? tr("Server nicht erreichbar")
                                         : tr("Abruf fehlgeschlagen (HTTP %1)").arg(httpStatus);
    const QString data = m_lastSuccess ? tr("letzte Daten %1").arg(timeOfDay(*m_lastSuccess))
                                       : tr("noch keine Daten abgerufen");
    return QStringLiteral("%1 – %2").arg(what, data);
}

void FetchHealth::succeeded()
{
    m_lastSuccess = m_clock.nowSeconds();
    m_label->setText(labelText(m_lastSuccess));
    // Only the note about failing fetches goes; another one stays its time.
    if (!m_shownFailure.isEmpty() && m_note->text() == m_shownFailure)
        m_note->clear();
    m_shownFailure.clear();
}

void FetchHealth::failed(int httpStatus)
{
    m_shownFailure = failureText(httpStatus);
    m_note->showNote(m_shownFailure, failureShowMs);
}
