#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// Shorelines of one sea area as closed polygons, read from the compact file that
// extract.py writes. Coordinates are whole 1e-5 degrees: x is longitude, y latitude.
class Coastline
{
public:
    static constexpr double unitsPerDegree = 100000.0;

    enum class Level { Land = 1, Lake = 2 };

    struct Polygon
    {
        Level level;
        QList<QPoint> points; // closed: the last point repeats the first
        QRect bounds;
    };

    // False when the file is missing or malformed; the coastline is then empty.
    bool load(const QString &path);
    bool isEmpty() const { return m_polygons.isEmpty(); }

    const QList<Polygon> &polygons() const { return m_polygons; }
    // The area the data was cut to; outside it there is only sea.
    QRect box() const { return m_box; }
    // Edges that run along the box only close the land where the mainland leaves it:
    // they are no shore and get no shore line.
    bool isBoxEdge(const QPoint &a, const QPoint &b) const;
    // A short stamp of the data, so caches of drawings made from other data are not reused.
    QByteArray stamp() const { return m_stamp; }

    // Where the program finds the coastline of the demo area.
    static QString adriaticPath();

private:
    QList<Polygon> m_polygons;
    QRect m_box;
    QByteArray m_stamp;
};
