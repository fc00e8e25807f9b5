#pragma once

#include <QObject>

class FeedReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheItemFields();
    void platformDecidesWhatAnEnclosureContributes();
    void programTypeAndMinimumVersionJudgeItems();
    void firstFittingItemEndsTheParse();
    void sparkleVersionWinsInEitherOrder();
    void incompleteAndMalformedDocuments();
    void encodingErrorsAreReportedWhereTheyOccur();
    void verdictDoesNotDependOnHowBytesArrive();
    void dataArrivingInPieces();
};
