#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// Keeps children at their designed places and lets each follow the container's edges it is
// anchored to, as the main window's boxes were designed: a box anchored left and right
// stretches with the width, one anchored only right moves with it.
class Anchors : public QObject {
public:
    Anchors(QWidget* container, QSize designSize);

    void place(QWidget* child, QRect designRect, Qt::Edges edges);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QWidget* widget;
        QRect rect;
        Qt::Edges edges;
    };
    void relayout(QSize size);

    QWidget* m_container;
    QSize m_designSize;
    std::vector<Item> m_items;
};
