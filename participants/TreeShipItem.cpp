#include "participants/TreeShipItem.h"

#include <QPixmap>

namespace {
QStandardItem *readOnlyCell(const QString &text)
{
    auto *cell = new QStandardItem(text);
    cell->setEditable(false);
    return cell;
}
} // namespace

TreeShipItem::TreeShipItem(const QString &text, bool checked)
    : QStandardItem(text)
    , m_shipId(classRowId)
    , m_caption(text)
{
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    setFont(bold);
    setCheckable(true);
    setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
}

TreeShipItem::TreeShipItem(const QString &startnr, const QString &name, const QString &skipper,
                           const QString &team, const QColor &colour, qint32 shipId, bool shown)
    : QStandardItem(startnr)
    , m_shipId(shipId)
    , m_caption(startnr)
    , m_nameCell(readOnlyCell(name))
    , m_skipperCell(readOnlyCell(skipper))
    , m_teamCell(readOnlyCell(team))
    , m_lastReportCell(new QStandardItem(QStringLiteral("0")))
{
    QPixmap swatch(12, 12);
    swatch.fill(colour);
    setIcon(QIcon(swatch));
    setCheckable(true);
    setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
}

QList<QStandardItem *> TreeShipItem::rowCells()
{
    return {this, m_teamCell, m_skipperCell, m_nameCell, m_lastReportCell};
}
