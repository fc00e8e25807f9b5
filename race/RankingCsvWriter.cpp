#include "race/RankingCsvWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <QStringList>

#include <cmath>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RankingCsvWriter", text);
}

QString decimal(double v, int places)
{
    if (std::isnan(v))
        return {};
    return QString::number(v, 'f', places).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Hours, minutes and seconds; hours may pass 24 on a long race.
QString duration(double seconds)
{
    if (std::isnan(seconds))
        return {};
    const qint64 s = std::llround(std::abs(seconds));
    return QStringLiteral("%1%2:%3:%4")
        .arg(seconds < 0 ? QStringLiteral("-") : QString())
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString courseText(double degrees)
{
    if (std::isnan(degrees))
        return {};
    return QString::number(std::llround(degrees) % 360);
}

QString timeText(double time)
{
    if (std::isnan(time))
        return {};
    return QDateTime::fromSecsSinceEpoch(std::llround(time)).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// Text that a spreadsheet would start to evaluate.
QString defused(const QString &text)
{
    static const QString starters = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starters.contains(text.front()) ? QLatin1Char('\'') + text : text;
}

} // namespace

QString RankingCsvWriter::field(const QString &text)
{
    static const QString special = QStringLiteral(";\"\r\n");
    for (const QChar c : text) {
        if (special.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

QByteArray RankingCsvWriter::toCsv(const Ranking &ranking)
{
    const QStringList header = {
        tr("Rang"),           tr("Nr."),        tr("Boot"),       tr("Klasse"),   tr("Nächste Marke"),
        tr("Distanz (sm)"),   tr("Abstand (sm)"), tr("Abstand (Zeit)"), tr("Speed (kn)"), tr("Kurs (°)"),
        tr("Klassenrang"),    tr("Zielzeit"),   tr("Segelzeit"),
    };
    QString text;
    auto line = [&text](const QStringList &fields) {
        QStringList out;
        for (const QString &f : fields)
            out.append(RankingCsvWriter::field(f));
        text += out.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    line(header);
    for (const Standing &s : ranking.overall()) {
        const BoatState &b = s.state;
        line({
            QString::number(s.rank),
            defused(s.startnr),
            defused(s.name),
            defused(s.klasse),
            b.finished ? tr("Im Ziel") : defused(s.nextMarkName),
            decimal(b.distanceToNextNm, 2),
            decimal(s.gapNm, 2),
            duration(s.gapSeconds),
            decimal(b.speedKnots, 1),
            courseText(b.courseDegrees),
            QString::number(s.classRank),
            timeText(b.finishTime),
            duration(b.elapsedSeconds),
        });
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool RankingCsvWriter::write(const Ranking &ranking, const QString &path, QString *errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    const QByteArray data = toCsv(ranking);
    if (file.write(data) != data.size() || !file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
