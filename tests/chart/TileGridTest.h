#pragma once

#include <QObject>

class TileGridTest : public QObject
{
    Q_OBJECT
private slots:
    void projectsTheReferencePosition();
    void layoutOfViewCentredOnTileEdge();
    void layoutWestOfTheDateLine_data();
    void layoutWestOfTheDateLine();
    void purgeKeepsOneTileOfMargin();
    void fetchOrderRunsColumnsFromTheRightIncludingExtraColumnAndRow();
    void coordinatesAtPixelIsTheExactInverse();
    void worldPixelsShiftToTheSameViewPixels();
    void worldPixelsAtPixelEdges();
    void unprojectablePositionsGiveOriginAndDiagnostic_data();
    void unprojectablePositionsGiveOriginAndDiagnostic();
    void centreFarOutsideTheWorld();
};
