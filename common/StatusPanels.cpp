#include "common/StatusPanels.h"
#include "toolkit/Fitting.h"

#include <QLabel>
#include <QLayout>

#include <algorithm>

namespace {

// The stretching panels side by side, as PanelWidths shares the row's width
// among them: a text shows whole wherever the row has room for it.
class PanelRow : public QLayout {
public:
    explicit PanelRow(QWidget *parent) : QLayout(parent)
    {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(Gap);
    }
    ~PanelRow() override
    {
        while (QLayoutItem *item = takeAt(0))
            delete item;
    }

    void AddPanel(QLabel *label, int stretch)
    {
        addChildWidget(label);
        panels_.push_back({new QWidgetItem(label), label, stretch});
        invalidate();
    }

    // The panels come through AddPanel only.
    void addItem(QLayoutItem *item) override { delete item; }
    int count() const override { return int(panels_.size()); }
    QLayoutItem *itemAt(int index) const override
    {
        return index >= 0 && index < count() ? panels_[std::size_t(index)].item : nullptr;
    }
    QLayoutItem *takeAt(int index) override
    {
        if (index < 0 || index >= count())
            return nullptr;
        QLayoutItem *item = panels_[std::size_t(index)].item;
        panels_.erase(panels_.begin() + index);
        return item;
    }

    QSize sizeHint() const override { return Total([](const Entry &e) { return std::max(Least(e), Text(e)); }); }
    QSize minimumSize() const override { return Total(Least); }

    void setGeometry(const QRect &rect) override
    {
        QLayout::setGeometry(rect);
        std::vector<PanelRoom> rooms;
        for (const Entry &e : panels_)
            rooms.push_back({Least(e), Text(e), e.stretch});
        const std::vector<int> widths = PanelWidths(rooms, rect.width() - Gaps());
        int x = rect.x();
        for (std::size_t i = 0; i < panels_.size(); ++i) {
            panels_[i].item->setGeometry(QRect(x, rect.y(), widths[i], rect.height()));
            x += widths[i] + Gap;
        }
    }

private:
    static constexpr int Gap = 6;
    struct Entry {
        QLayoutItem *item;
        QLabel *label;
        int stretch;
    };
    static int Least(const Entry &e) { return e.label->minimumWidth(); }
    // Not the size hint: a label's is never less than its minimum width.
    static int Text(const Entry &e)
    {
        return e.label->fontMetrics().horizontalAdvance(e.label->text()) + 2 * e.label->margin();
    }
    int Gaps() const { return std::max(0, count() - 1) * Gap; }
    template <class Width>
    QSize Total(Width width) const
    {
        int w = Gaps(), h = 0;
        for (const Entry &e : panels_) {
            w += width(e);
            h = std::max(h, e.label->sizeHint().height());
        }
        return {w, h};
    }

    std::vector<Entry> panels_;
};

} // namespace

TStatusBar::TStatusBar(const QString &namePrefix, std::initializer_list<Panel> panels, QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    PanelRow *row = nullptr;
    for (const Panel &p : panels) {
        auto *label = new QLabel(this);
        label->setObjectName(namePrefix + QString::number(panels_.size()));
        label->setAlignment(p.alignment | Qt::AlignVCenter);
        if (p.stretch == 0) {
            label->setFixedWidth(p.width);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFrameShadow(QFrame::Sunken);
            addWidget(label);
            // As much room after the last frame as before the first: the bar's edge cuts none.
            setContentsMargins(0, 0, 2, 0);
        } else {
            if (row == nullptr) {
                auto *shared = new QWidget(this);
                row = new PanelRow(shared);
                addPermanentWidget(shared, 1);
            }
            label->setMinimumWidth(p.width);
            row->AddPanel(label, p.stretch);
        }
        panels_.push_back(label);
    }
}

QString TStatusBar::PanelText(int panel) const
{
    return panel >= 0 && panel < PanelCount() ? panels_[panel]->text() : QString();
}

void TStatusBar::SetPanelText(int panel, const QString &text)
{
    if (panel >= 0 && panel < PanelCount())
        panels_[panel]->setText(text);
}
