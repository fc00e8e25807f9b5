#pragma once

#include <QGraphicsScene>

// The chart's scene. Its rectangle always equals the view's size, so scene coordinates
// are view pixels; every item is placed by the chart's projection.
class Scheme : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit Scheme(QObject *parent = nullptr);

protected:
    void dragEnterEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dropEvent(QGraphicsSceneDragDropEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
};
