#pragma once

#include <QIcon>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QSlider;
class QToolButton;

// The row below the chart: the time label, the play button, the time slider with the replay
// speed and the live button beside it, an empty label and the fetch button. Its widgets
// belong to the layout's widget once the layout is placed.
struct ReplayBar
{
    ReplayBar();

    QHBoxLayout *row;
    QLabel *timeLabel;
    QToolButton *playButton;
    QSlider *slider;
    QComboBox *speedBox;
    QToolButton *liveButton;
    QToolButton *fetchButton;
    QIcon playIcon;
    QIcon pauseIcon;
};
