#include "app/anchors.h"

#include <QEvent>
#include <QWidget>

Anchors::Anchors(QWidget* container, QSize designSize)
    : QObject(container)
    , m_container(container)
    , m_designSize(designSize)
{
    container->installEventFilter(this);
}

void Anchors::place(QWidget* child, QRect designRect, Qt::Edges edges)
{
    m_items.push_back({child, designRect, edges});
    relayout(m_container->size());
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Resize)
        relayout(m_container->size());
    return QObject::eventFilter(watched, event);
}

void Anchors::relayout(QSize size)
{
    const int dx = size.width() - m_designSize.width();
    const int dy = size.height() - m_designSize.height();
    for (const Item& item : m_items) {
        QRect r = item.rect;
        const bool left = item.edges & Qt::LeftEdge;
        const bool right = item.edges & Qt::RightEdge;
        const bool top = item.edges & Qt::TopEdge;
        const bool bottom = item.edges & Qt::BottomEdge;
        if (left && right)
            r.setWidth(std::max(0, r.width() + dx));
        else if (right)
            r.translate(dx, 0);
        if (top && bottom)
            r.setHeight(std::max(0, r.height() + dy));
        else if (bottom)
            r.translate(0, dy);
        item.widget->setGeometry(r);
    }
}
