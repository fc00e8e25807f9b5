#pragma once

#include "chart/GeoPoint.h"

#include <QtGlobal>

// One reported position of a boat as the race analysis keeps it: where and when, nothing
// else. Twenty-four bytes, so a long race of a large fleet stays small.
struct PositionFix
{
    GeoPoint position;
    qint32 time = 0;
};
