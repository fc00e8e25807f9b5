#include "window/ReplayTimeline.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "race/Regatta.h"
#include "store/Clock.h"
#include "window/ReplaySpeed.h"
#include "window/StaleMarking.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QTimer>

ReplayTimeline::ReplayTimeline(QSlider *slider, QLabel *timeLabel, QAbstractButton *playButton, const QIcon &playIcon,
                               const QIcon &pauseIcon, Karte *chart, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_slider(slider)
    , m_timeLabel(timeLabel)
    , m_playButton(playButton)
    , m_playIcon(playIcon)
    , m_pauseIcon(pauseIcon)
    , m_chart(chart)
    , m_clock(clock)
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this,
            [this] { advanceFrame(m_speed ? m_speed->stepForTick(frameStep) : frameStep); });
}

QString ReplayTimeline::capturePath(int tstamp)
{
    return QStringLiteral("movie/scene.%1.jpg").arg(tstamp);
}

void ReplayTimeline::setTimeRange(int minimum, int maximum)
{
    m_slider->setRange(minimum, maximum);
    m_slider->setPageStep(pageStep);
    m_slider->setSingleStep(1);
}

void ReplayTimeline::setTimeValue(int value)
{
    m_slider->setValue(value);
}

void ReplayTimeline::setUhrzeit(int tstamp)
{
    QDateTime moment;
    if (tstamp == 0) {
        qDebug() << "animslider->value() = " << m_slider->value();
        tstamp = m_slider->value();
        moment = tstamp == 0 ? m_clock.now() : QDateTime::fromSecsSinceEpoch(tstamp);
    } else {
        moment = QDateTime::fromSecsSinceEpoch(tstamp);
    }
    qDebug() << "tstamp = " << tstamp;
    const QString text = moment.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    if (m_capturing)
        capture(tstamp);
    m_timeLabel->setText(text);

    Karte *chart = m_chart;
    if (m_regatta && tstamp <= m_slider->maximum() && !m_regatta->ships().isEmpty()) {
        for (Ship *ship : m_regatta->ships()) {
            if (!ship->ready() || ship->pointCount() <= 0)
                continue;
            if (const std::optional<TrackPoint> p = ship->positionAt(tstamp)) {
                ship->setShowSprite(true);
                ship->setShowTrack(true);
                ship->setCurrentPoint(*p);
                ship->setCurrentTime(tstamp);
                if (m_stale)
                    m_stale->mark(*ship, tstamp);
                if (ship->follow())
                    chart->setCenter(p->position);
            } else if (ship->follow() && ship->hasCurrentPoint()) {
                chart->setCenter(ship->currentPoint().position);
            }
        }
        chart->refresh();
    }
    if (!m_animating)
        chart->setFocus();
}

void ReplayTimeline::capture(int tstamp)
{
    Karte *chart = m_chart;
    QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        chart->prepareTrackPicture();
        chart->render(&painter, QRectF(image.rect()), chart->viewport()->rect(), Qt::KeepAspectRatio);
    }
    // The folder is made on first use, so that switching capture on is all it takes.
    QDir().mkpath(QStringLiteral("movie"));
    image.save(capturePath(tstamp), "jpg", 95);
}

void ReplayTimeline::advanceFrame(int step)
{
    const int value = m_slider->value();
    if (step >= 0) {
        if (value + step >= m_slider->maximum()) {
            stopAnimation();
            m_slider->setValue(m_slider->maximum());
        } else {
            m_slider->setValue(value + step);
        }
    } else if (value + step <= m_slider->minimum()) {
        stopAnimation();
        m_slider->setValue(m_slider->minimum());
    } else {
        m_slider->setValue(value + step);
    }
}

void ReplayTimeline::animOnOff()
{
    if (m_animating) {
        m_animating = false;
        m_timer->stop();
        showStopped();
    } else if (m_slider->maximum() != 0) {
        m_animating = true;
        if (m_speed)
            m_speed->start();
        m_timer->start(frameIntervalMs);
        m_playButton->setIcon(m_pauseIcon);
        m_playButton->setToolTip(tr("Animation beenden"));
    } else {
        m_animating = false;
        m_timer->stop();
        showStopped();
    }
    m_chart->setFocus();
}

void ReplayTimeline::stopAnimation()
{
    if (!m_animating)
        return;
    m_timer->stop();
    showStopped();
    m_animating = false;
}

void ReplayTimeline::showStopped()
{
    m_playButton->setIcon(m_playIcon);
    m_playButton->setToolTip(tr("Animation starten"));
}
