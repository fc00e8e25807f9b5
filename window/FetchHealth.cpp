#include "window/FetchHealth.h"

#include "store/Clock.h"

#include <QDateTime>
#include <QLabel>
#include <QStatusBar>

namespace {
const QString normalToolTip = QStringLiteral("Zeit der letzten Antwort des Tracking-Servers mit Positionen");
}

FetchHealth::FetchHealth(QStatusBar *bar, QLabel *lastFetchLabel, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_bar(bar)
    , m_label(lastFetchLabel)
    , m_clock(clock)
{
    m_label->setText(labelText(std::nullopt));
    m_label->setToolTip(normalToolTip);
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
    m_label->setStyleSheet(QString());
    m_label->setToolTip(normalToolTip);
    if (!m_shownFailure.isEmpty() && m_bar->currentMessage() == m_shownFailure)
        m_bar->clearMessage();
    m_shownFailure.clear();
}

void FetchHealth::failed(int httpStatus)
{
    m_shownFailure = failureText(httpStatus);
    // Across the whole line, where it is read in full; the time of the last good answer
    // stays red beside it until positions come again.
    m_bar->showMessage(m_shownFailure, messageShowMs);
    m_label->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_label->setToolTip(m_shownFailure);
}
