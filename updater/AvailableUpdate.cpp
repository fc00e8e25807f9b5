#include "updater/AvailableUpdate.h"

AvailableUpdate::AvailableUpdate(QObject *parent)
    : QObject(parent)
{
}
