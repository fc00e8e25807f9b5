#pragma once

#include <QImage>
#include <QString>

// The replay and fetch buttons' icons: play and pause, and the fetch button's four states
// (idle or loading, each with and without automatic loading).
namespace ButtonIcons {
constexpr int size = 28;

QImage play();
QImage pause();
QImage fetch(bool loading, bool automatic);

// File name under img/ for each icon, as the window loads them.
struct Named
{
    QString file;
    QImage image;
};
QList<Named> all();
}
