#include "window/RankingModel.h"

#include "race/Ranking.h"

#include <QFont>
#include <QLocale>

#include <cmath>
#include <limits>

namespace {
// Unknown values sort after every known one in ascending order.
constexpr double unknownKey = std::numeric_limits<double>::max();

double keyOf(double value)
{
    return std::isnan(value) ? unknownKey : value;
}

// Numbers first, by value, then text: "2" before "10" before "A1".
QString startnrKey(const QString &startnr)
{
    bool number = false;
    const qulonglong n = startnr.toULongLong(&number);
    if (number)
        return QStringLiteral("0%1").arg(n, 20, 10, QLatin1Char('0'));
    return QLatin1Char('1') + startnr;
}
} // namespace

RankingModel::RankingModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void RankingModel::setRanking(const Ranking &ranking, bool byClass, int followedId)
{
    QList<Standing> rows;
    if (byClass) {
        for (const QString &klasse : ranking.classes())
            rows += ranking.ofClass(klasse);
    } else {
        rows = ranking.overall();
    }
    m_byClass = byClass;
    m_followedId = followedId;
    if (rows.size() != m_rows.size()) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    // The same number of rows, the boats perhaps in another order: the cells change, the
    // view keeps its scroll position and selection rows.
    m_rows = rows;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

int RankingModel::boatIdAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].boatId : 0;
}

int RankingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RankingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RankingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Rank:
        return tr("Rang");
    case Startnr:
        return tr("Nr.");
    case Boat:
        return tr("Boot");
    case Klasse:
        return tr("Klasse");
    case NextMark:
        return tr("Nächste Marke");
    case Distance:
        return tr("Distanz (sm)");
    case GapNm:
        return tr("Abstand (sm)");
    case GapTime:
        return tr("Abstand (Zeit)");
    case Speed:
        return tr("Fahrt (kn)");
    case Course:
        return tr("Kurs (°)");
    default:
        return {};
    }
}

QString RankingModel::decimalText(double value, int places)
{
    if (std::isnan(value))
        return {};
    return QLocale(QLocale::German, QLocale::Germany).toString(value, 'f', places);
}

QString RankingModel::gapTimeText(double seconds)
{
    if (std::isnan(seconds))
        return {};
    const qint64 s = std::llround(std::abs(seconds));
    const QString sign = seconds < 0 && s > 0 ? QStringLiteral("-") : QString();
    if (s < 3600)
        return QStringLiteral("%1%2:%3").arg(sign).arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1%2:%3:%4")
        .arg(sign)
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString RankingModel::text(const Standing &s, int column) const
{
    const double gapNm = m_byClass ? s.classGapNm : s.gapNm;
    const double gapSeconds = m_byClass ? s.classGapSeconds : s.gapSeconds;
    switch (column) {
    case Rank:
        return QString::number(m_byClass ? s.classRank : s.rank);
    case Startnr:
        return s.startnr;
    case Boat:
        return s.name;
    case Klasse:
        return s.klasse;
    case NextMark:
        if (s.state.finished)
            return tr("Im Ziel");
        return s.state.hasPosition ? s.nextMarkName : tr("keine Position");
    case Distance:
        return s.state.finished ? QString() : decimalText(s.state.distanceToNextNm, 2);
    case GapNm:
        return decimalText(gapNm, 2);
    case GapTime:
        return gapTimeText(gapSeconds);
    case Speed:
        return decimalText(s.state.speedKnots, 1);
    case Course:
        return std::isnan(s.state.courseDegrees) ? QString()
                                                 : QString::number(std::llround(s.state.courseDegrees) % 360);
    default:
        return {};
    }
}

QVariant RankingModel::sortKey(const Standing &s, int column) const
{
    switch (column) {
    case Rank:
        // Ties keep the ranking's order.
        return m_byClass ? double(s.classRank) : double(s.rank);
    case Startnr:
        return startnrKey(s.startnr);
    case Boat:
    case Klasse:
    case NextMark:
        return text(s, column).toLower();
    case Distance:
        return keyOf(s.state.finished ? BoatState::unknown : s.state.distanceToNextNm);
    case GapNm:
        return keyOf(m_byClass ? s.classGapNm : s.gapNm);
    case GapTime:
        return keyOf(m_byClass ? s.classGapSeconds : s.gapSeconds);
    case Speed:
        return keyOf(s.state.speedKnots);
    case Course:
        return keyOf(s.state.courseDegrees);
    default:
        return {};
    }
}

QVariant RankingModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Standing &s = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return text(s, index.column());
    case sortRole:
        return sortKey(s, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == Boat || index.column() == Klasse || index.column() == NextMark)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (s.boatId == m_followedId) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}
