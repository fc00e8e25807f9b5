#include "chart/Scheme.h"

Scheme::Scheme(QObject *parent)
    : QGraphicsScene(parent)
{
    // Every item moves on every refresh, and gates may have rectangles of negative size:
    // a spatial index would only cost time and could misplace them.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void Scheme::dragEnterEvent(QGraphicsSceneDragDropEvent *event)
{
    QGraphicsScene::dragEnterEvent(event);
}

void Scheme::dragMoveEvent(QGraphicsSceneDragDropEvent *event)
{
    QGraphicsScene::dragMoveEvent(event);
}

void Scheme::dropEvent(QGraphicsSceneDragDropEvent *event)
{
    QGraphicsScene::dropEvent(event);
}

void Scheme::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsScene::mousePressEvent(event);
}

void Scheme::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsScene::mouseMoveEvent(event);
}

void Scheme::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsScene::mouseReleaseEvent(event);
}
