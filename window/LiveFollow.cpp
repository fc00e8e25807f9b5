#include "window/LiveFollow.h"

#include <QAbstractButton>
#include <QSignalBlocker>
#include <QSlider>

LiveFollow::LiveFollow(QAbstractButton *button, QSlider *slider, QObject *parent)
    : QObject(parent)
    , m_button(button)
    , m_slider(slider)
{
    m_button->setCheckable(true);
    // On air: red and bold, so that it is seen from across the room.
    m_button->setStyleSheet(QStringLiteral("QToolButton:checked { color: #c00000; font-weight: bold; }"));
    m_button->setToolTip(tr("Live: zur neuesten Position und dort bleiben"));
    connect(m_button, &QAbstractButton::toggled, this, &LiveFollow::setOn);
    // Only what the user does to the slider ends live mode; the race model sets it too.
    connect(m_slider, &QSlider::actionTriggered, this, &LiveFollow::leave);
    connect(m_slider, &QSlider::sliderPressed, this, &LiveFollow::leave);
}

void LiveFollow::setOn(bool on)
{
    if (m_button->isChecked() != on) {
        const QSignalBlocker quiet(m_button);
        m_button->setChecked(on);
    }
    if (on == m_on)
        return;
    m_on = on;
    if (!on)
        return;
    m_slider->setValue(m_slider->maximum());
    emit entered();
}

void LiveFollow::rangeChanged()
{
    if (m_on && m_slider->value() != m_slider->maximum())
        m_slider->setValue(m_slider->maximum());
}
