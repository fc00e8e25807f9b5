#pragma once

class QLabel;
class QStatusBar;
class QString;
class StatusNote;

// The status line: the map data attribution, the pointer's latitude and longitude, the
// zoom level, and at the right a note that needs no answer.
class StatusLine
{
public:
    explicit StatusLine(QStatusBar *bar);

    void setXYStatus(double lat, double lng, int zoom);
    void setZoomStatus(int zoom);

    QLabel *latLabel() const { return m_lat; }
    QLabel *lngLabel() const { return m_lng; }
    QLabel *zoomLabel() const { return m_zoom; }
    StatusNote *note() const { return m_note; }

private:
    QLabel *m_lat;
    QLabel *m_lng;
    QLabel *m_zoom;
    StatusNote *m_note;
};
