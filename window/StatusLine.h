#pragma once

class QLabel;
class QStatusBar;
class QString;
class StatusNote;

// The status line: the map data attribution, the pointer's latitude and longitude, the
// zoom level, the time of the last fetch, and at the right a note that needs no answer.
class StatusLine
{
public:
    explicit StatusLine(QStatusBar *bar);

    void setXYStatus(double lat, double lng, int zoom);
    void setZoomStatus(int zoom);

    QLabel *latLabel() const { return m_lat; }
    QLabel *lngLabel() const { return m_lng; }
    QLabel *zoomLabel() const { return m_zoom; }
    QLabel *lastFetchLabel() const { return m_lastFetch; }
    StatusNote *note() const { return m_note; }

private:
    QLabel *m_lat;
    QLabel *m_lng;
    QLabel *m_zoom;
    QLabel *m_lastFetch;
    StatusNote *m_note;
};
