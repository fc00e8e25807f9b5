#pragma once

#include <QObject>

// The GPX and KML writers, checked by outside readers: the published GPX 1.1 schema
// through xmllint, and GDAL's KML reader.
class TrackFileTest : public QObject
{
    Q_OBJECT
private slots:
    void gpxFileIsValidGpx11();
    void gpxCarriesBoatsAndUtcTimes();
    void kmlOpensInGdalWithColoursAndTimes();
    void utcTimesFollowTheCalendar();
    void failingDeviceAndCancelStopTheWriters();
};
