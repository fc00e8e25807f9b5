#pragma once

#include <QObject>

// The ranking as a CSV file for German spreadsheets.
class RankingCsvWriterTest : public QObject
{
    Q_OBJECT
private slots:
    void rowsAsSpreadsheetsReadThem();
    void awkwardNamesAreQuotedAndDefused();
    void fileIsWrittenWholeOrNotAtAll();
};
