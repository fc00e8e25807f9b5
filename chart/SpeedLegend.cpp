#include "chart/SpeedLegend.h"

#include <QEvent>
#include <algorithm>
#include <QLocale>
#include <QPainter>

namespace {
constexpr int margin = 5;
constexpr int padding = 6;
constexpr int stepWidth = 9;
constexpr int barHeight = 10;

QString knotsText(double knots)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(knots, 'f', 1);
}

QFont legendFont()
{
    QFont font;
    font.setPixelSize(12);
    return font;
}
} // namespace

SpeedLegend::SpeedLegend(QWidget *chart)
    : QWidget(chart)
{
    setObjectName(QStringLiteral("speedLegend"));
    // A key, not a control: clicks and drags go to the chart below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QFontMetrics metrics(legendFont());
    const int width = std::max(SpeedScale::steps * stepWidth, metrics.horizontalAdvance(title())) + 2 * padding;
    setFixedSize(width, 2 * metrics.height() + barHeight + 2 * padding + 2);
    chart->installEventFilter(this);
    place();
}

QString SpeedLegend::title()
{
    return tr("Geschwindigkeit (kn)");
}

void SpeedLegend::setScale(const SpeedScale &scale)
{
    m_scale = scale;
    update();
}

bool SpeedLegend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

void SpeedLegend::place()
{
    move(margin, parentWidget()->height() - height() - margin);
}

void SpeedLegend::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(legendFont());
    painter.fillRect(rect(), QColor(240, 240, 240, 225));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics(legendFont());
    const int inner = width() - 2 * padding;
    painter.drawText(QRect(padding, padding, inner, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, title());
    const int barTop = padding + metrics.height() + 1;
    const int left = padding + (inner - SpeedScale::steps * stepWidth) / 2;
    for (int s = 0; s < SpeedScale::steps; ++s)
        painter.fillRect(QRect(left + s * stepWidth, barTop, stepWidth, barHeight), SpeedScale::colour(s));
    const QRect labels(padding, barTop + barHeight + 1, inner, metrics.height());
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, knotsText(m_scale.lowKnots()));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, knotsText(m_scale.highKnots()));
}
