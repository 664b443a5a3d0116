#include "configurator/Splitter.h"

#include <QMouseEvent>
#include <QSplitterHandle>

namespace {

class AskingHandle : public QSplitterHandle {
public:
    AskingHandle(Qt::Orientation orientation, TSplitter *owner) : QSplitterHandle(orientation, owner), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        pressOffset_ = Along(e->position().toPoint());
        QSplitterHandle::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (CanMove(e))
            QSplitterHandle::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (CanMove(e))
            QSplitterHandle::mouseReleaseEvent(e);
    }

private:
    int Along(QPoint p) const { return orientation() == Qt::Horizontal ? p.x() : p.y(); }

    bool CanMove(QMouseEvent *e) const
    {
        if (!owner_->OnCanResize)
            return true;
        int newSize = Along(owner_->mapFromGlobal(e->globalPosition().toPoint())) - pressOffset_;
        bool accept = true;
        owner_->OnCanResize(newSize, accept);
        return accept;
    }

    TSplitter *owner_;
    int pressOffset_ = 0;
};

} // namespace

QSplitterHandle *TSplitter::createHandle()
{
    return new AskingHandle(orientation(), this);
}
