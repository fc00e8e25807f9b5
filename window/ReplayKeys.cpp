#include "window/ReplayKeys.h"

#include <QKeyEvent>

ReplayKeys::ReplayKeys(QObject *watched, std::function<void(int)> advance, QObject *parent)
    : QObject(parent)
    , m_advance(std::move(advance))
{
    watched->installEventFilter(this);
}

int ReplayKeys::stepFor(int key, Qt::KeyboardModifiers modifiers)
{
    const int sign = key == Qt::Key_PageUp ? 1 : key == Qt::Key_PageDown ? -1 : 0;
    if (sign == 0)
        return 0;
    if (modifiers & Qt::ControlModifier)
        return sign * controlStep;
    if (modifiers & Qt::ShiftModifier)
        return sign * shiftStep;
    return 0;
}

bool ReplayKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (const int step = stepFor(key->key(), key->modifiers())) {
            m_advance(step);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
