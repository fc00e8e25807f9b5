#include "window/ReplaySpeed.h"

#include "store/Environment.h"

#include <QComboBox>
#include <QSettings>

ReplaySpeed::ReplaySpeed(QComboBox *box, QObject *parent)
    : QObject(parent)
    , m_box(box)
{
    for (const int f : factors())
        m_box->addItem(f == 1 ? tr("×1 (Echtzeit)") : QStringLiteral("×%1").arg(f), f);
    m_box->addItem(tr("Standard (×333)"), int(fixedStep));
    m_box->setToolTip(tr("Geschwindigkeit der Wiedergabe; Standard: 10 s je Schritt"));
    m_box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_box->setFocusPolicy(Qt::NoFocus);

    const int stored = Environment::settingsStore()->value(QLatin1String(settingsKey), int(fixedStep)).toInt();
    const int index = m_box->findData(stored);
    m_box->setCurrentIndex(index >= 0 ? index : m_box->findData(int(fixedStep)));
    m_factor = m_box->currentData().toInt();
    connect(m_box, &QComboBox::activated, this, &ReplaySpeed::choose);
}

QList<int> ReplaySpeed::factors()
{
    return {1, 5, 10, 30, 60, 120};
}

void ReplaySpeed::choose(int index)
{
    setFactor(m_box->itemData(index).toInt());
}

void ReplaySpeed::setFactor(int factor)
{
    const int index = m_box->findData(factor);
    const int chosen = index >= 0 ? factor : int(fixedStep);
    m_box->setCurrentIndex(m_box->findData(chosen));
    Environment::settingsStore()->setValue(QLatin1String(settingsKey), chosen);
    const bool changedNow = chosen != m_factor;
    m_factor = chosen;
    start();
    if (changedNow)
        emit changed(m_factor);
}

void ReplaySpeed::start()
{
    m_wall.start();
    m_carryMs = 0;
}

int ReplaySpeed::stepForTick(int fixed)
{
    if (m_factor == fixedStep)
        return fixed;
    if (!m_wall.isValid())
        m_wall.start();
    return advance(m_wall.restart());
}

int ReplaySpeed::advance(qint64 elapsedMs)
{
    if (m_factor == fixedStep || elapsedMs <= 0)
        return 0;
    m_carryMs += elapsedMs * m_factor;
    const qint64 seconds = m_carryMs / 1000;
    m_carryMs -= seconds * 1000;
    return int(seconds);
}
