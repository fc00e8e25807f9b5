#include "window/AutoLoading.h"

#include "store/PrefsTable.h"
#include "window/FetchIndicator.h"

#include <QCheckBox>
#include <QTimer>

#include <algorithm>

AutoLoading::AutoLoading(QCheckBox *box, FetchIndicator *indicator, QObject *parent)
    : QObject(parent)
    , m_box(box)
    , m_indicator(indicator)
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &AutoLoading::fetchDue);
}

void AutoLoading::readInterval()
{
    // A period below a minute would make the timer fetch without pause.
    if (const std::optional<int> value = PrefsTable::loadInterval(); value && *value >= 1)
        m_interval = std::min(*value, longestInterval);
}

void AutoLoading::set(bool on)
{
    m_on = on;
    m_box->setChecked(on);
    if (!on)
        m_timer->stop();
    else if (!m_timer->isActive())
        m_timer->start(m_interval * 60000);
    m_indicator->show(m_indicator->pendingRequests() > 0, m_on);
}

void AutoLoading::disable()
{
    m_box->setEnabled(false);
    m_on = false;
    m_indicator->show(m_indicator->pendingRequests() > 0, m_on);
}

void AutoLoading::enable()
{
    if (!m_box->isEnabled()) {
        // A finished race switched the box off without asking the user; the choice the
        // user stored is still in the preferences and comes back with the box.
        if (const std::optional<int> stored = PrefsTable::autoLoad())
            m_box->setChecked(*stored == 1);
        m_box->setEnabled(true);
    }
}

void AutoLoading::applyBox(bool busy)
{
    m_on = m_box->isChecked();
    PrefsTable::setAutoLoad(m_on);
    if (m_on)
        restart();
    else
        m_timer->stop();
    m_indicator->show(busy, m_on);
}

void AutoLoading::fetchStarted()
{
    if (m_on)
        restart();
}

void AutoLoading::restart()
{
    if (m_timer->isActive())
        m_timer->stop();
    m_timer->start(m_interval * 60000);
}
