#pragma once

#include "race/Ranking.h"

#include <QByteArray>
#include <QString>

// The ranking at a replay time as a CSV file for spreadsheets: UTF-8 with a byte order
// mark (without it a spreadsheet on Windows reads "Nächste" wrongly), fields separated by
// semicolons and numbers with a decimal comma, as German spreadsheets expect them (a comma
// separator would clash with the decimal comma), lines ended by CR LF, and fields quoted
// as RFC 4180 says. Boat names come from the tracking server: text that a spreadsheet
// would take for a formula gets a leading apostrophe.
class RankingCsvWriter
{
public:
    static QByteArray toCsv(const Ranking &ranking);
    // Written in full or not at all; on failure errorText (if given) says why.
    static bool write(const Ranking &ranking, const QString &path, QString *errorText = nullptr);

    // One field as it goes into the file.
    static QString field(const QString &text);
};
