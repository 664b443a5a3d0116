#include "configurator/pages/WrapLayout.h"

#include <QAbstractScrollArea>
#include <QStyle>
#include <QWidget>

#include <algorithm>

WrapLayout::WrapLayout(QWidget *parent) : QLayout(parent) {}

WrapLayout::~WrapLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void WrapLayout::addWidget(QWidget *widget, int stretch)
{
    addChildWidget(widget);
    entries_.push_back({new QWidgetItem(widget), stretch});
    invalidate();
}

void WrapLayout::addLayout(QLayout *layout, int stretch)
{
    addChildLayout(layout);
    entries_.push_back({layout, stretch});
    invalidate();
}

void WrapLayout::addViewFillingLayout(QLayout *layout, int stretch)
{
    addLayout(layout, stretch);
    entries_.back().fillsView = true;
}

void WrapLayout::addItem(QLayoutItem *item)
{
    entries_.push_back({item, 1});
    invalidate();
}

int WrapLayout::count() const
{
    return int(entries_.size());
}

QLayoutItem *WrapLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? entries_[std::size_t(index)].item : nullptr;
}

QLayoutItem *WrapLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem *item = entries_[std::size_t(index)].item;
    entries_.erase(entries_.begin() + index);
    invalidate();
    return item;
}

Qt::Orientations WrapLayout::expandingDirections() const
{
    Qt::Orientations directions;
    for (const Entry &e : entries_)
        directions |= e.item->expandingDirections();
    return directions;
}

bool WrapLayout::hasHeightForWidth() const
{
    return true;
}

int WrapLayout::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    return Arrange(width - m.left() - m.right(), nullptr) + m.top() + m.bottom();
}

QSize WrapLayout::minimumSize() const
{
    QSize size;
    for (const Entry &e : entries_)
        if (!e.item->isEmpty())
            size = size.expandedTo(e.item->minimumSize());
    const QMargins m = contentsMargins();
    return size.grownBy(m);
}

QSize WrapLayout::sizeHint() const
{
    int width = 0, height = 0, shown = 0;
    for (const Entry &e : entries_) {
        if (e.item->isEmpty())
            continue;
        const QSize hint = e.item->sizeHint();
        width += hint.width();
        height = std::max(height, hint.height());
        ++shown;
    }
    width += std::max(0, shown - 1) * Gap();
    const QMargins m = contentsMargins();
    return QSize(width, height).grownBy(m);
}

void WrapLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect inside = rect.marginsRemoved(contentsMargins());
    std::vector<Placed> placed;
    Arrange(inside.width(), &placed);
    for (const Placed &p : placed)
        p.item->setGeometry(p.rect.translated(inside.topLeft()));
}

int WrapLayout::Gap() const
{
    if (spacing() >= 0)
        return spacing();
    const QWidget *parent = parentWidget();
    const int gap = parent != nullptr ? parent->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) : -1;
    return gap >= 0 ? gap : 6;
}

int WrapLayout::ViewHeight() const
{
    for (const QWidget *w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (const auto *area = qobject_cast<const QAbstractScrollArea *>(w)) {
            const QMargins m = contentsMargins();
            return area->viewport()->height() - m.top() - m.bottom();
        }
    }
    return 0;
}

bool WrapLayout::Share(const std::vector<const Entry *> &items, int width, std::vector<int> &widths,
                       bool &squeezed) const
{
    const int gaps = int(items.size() - 1) * Gap();
    int hints = 0, fixed = 0, least = 0, give = 0, stretches = 0;
    for (const Entry *e : items) {
        const QLayoutItem *item = e->item;
        const int hint = item->sizeHint().width();
        hints += hint;
        stretches += e->stretch;
        if (item->hasHeightForWidth()) {
            least += item->minimumSize().width();
            give += hint - item->minimumSize().width();
        } else {
            fixed += hint;
        }
    }
    widths.clear();
    squeezed = false;
    if (hints + gaps <= width || items.size() == 1) {
        // The spare width by stretch; a single item too wide gets the line.
        const int spare = width - hints - gaps;
        for (const Entry *e : items) {
            const QLayoutItem *item = e->item;
            int w = item->sizeHint().width();
            if (spare > 0 && stretches > 0)
                w += spare * e->stretch / stretches;
            else if (spare < 0)
                w = std::max(item->minimumSize().width(), width);
            widths.push_back(std::min(w, item->maximumSize().width()));
        }
        return true;
    }
    // Wrapped text gives up width, down to its minimum.
    if (fixed + least + gaps > width)
        return false;
    const int spare = width - fixed - least - gaps;
    for (const Entry *e : items) {
        const QLayoutItem *item = e->item;
        if (!item->hasHeightForWidth()) {
            widths.push_back(item->sizeHint().width());
            continue;
        }
        const int minimum = item->minimumSize().width();
        const int more = give > 0 ? spare * (item->sizeHint().width() - minimum) / give : spare;
        widths.push_back(minimum + more);
    }
    squeezed = true;
    return true;
}

int WrapLayout::LineHeight(const std::vector<const Entry *> &items, const std::vector<int> &widths)
{
    int height = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QLayoutItem *item = items[i]->item;
        const int h = item->hasHeightForWidth() ? item->heightForWidth(widths[i]) : item->sizeHint().height();
        height = std::max({height, h, item->minimumSize().height()});
    }
    return height;
}

int WrapLayout::Arrange(int width, std::vector<Placed> *placed) const
{
    const int gap = Gap();
    std::vector<const Entry *> shown;
    for (const Entry &e : entries_)
        if (!e.item->isEmpty())
            shown.push_back(&e);
    int y = 0;
    for (std::size_t first = 0; first < shown.size();) {
        std::vector<const Entry *> line{shown[first]};
        std::vector<int> widths;
        bool squeezed = false;
        Share(line, width, widths, squeezed);
        for (std::size_t next = first + 1; next < shown.size(); ++next) {
            std::vector<const Entry *> longer = line;
            longer.push_back(shown[next]);
            std::vector<int> longerWidths;
            if (!Share(longer, width, longerWidths, squeezed))
                break;
            if (squeezed) {
                // Side by side only where it makes the page shorter than one below the other.
                std::vector<int> alone;
                Share({shown[next]}, width, alone, squeezed);
                if (LineHeight(longer, longerWidths) > LineHeight(line, widths) + gap + LineHeight({shown[next]}, alone))
                    break;
            }
            line = std::move(longer);
            widths = std::move(longerWidths);
        }
        int height = LineHeight(line, widths);
        if (line.size() == 1 && line.front()->fillsView)
            height = std::max(height, ViewHeight());
        if (placed != nullptr) {
            int x = 0;
            for (std::size_t i = 0; i < line.size(); ++i) {
                placed->push_back({line[i]->item, QRect(x, y, widths[i], height)});
                x += widths[i] + gap;
            }
        }
        y += height + gap;
        first += line.size();
    }
    return std::max(0, y - gap);
}
