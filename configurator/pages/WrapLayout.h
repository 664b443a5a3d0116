#pragma once
// Puts its items side by side while they fit at their preferred widths, and
// starts a new line below where they do not, so that a page as narrow as the
// widest of its groups needs no horizontal scrolling. Items of wrapped text
// also go beside the others at less than their preferred width, where that
// leaves the page shorter. The items of a line share the line's height and
// its spare width, by their stretch.
#include <QLayout>

#include <vector>

class WrapLayout : public QLayout {
public:
    explicit WrapLayout(QWidget *parent = nullptr);
    ~WrapLayout() override;

    void addWidget(QWidget *widget, int stretch = 1);
    void addLayout(QLayout *layout, int stretch = 1);
    // On a line of its own, this one is as tall as the view the page
    // scrolls in, so that a table in it shows the rows the view has room for.
    void addViewFillingLayout(QLayout *layout, int stretch = 1);

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry {
        QLayoutItem *item;
        int stretch;
        bool fillsView = false;
    };
    struct Placed {
        QLayoutItem *item;
        QRect rect;
    };
    // Where the items go in a rectangle of this width from (0, 0); returns the height used.
    int Arrange(int width, std::vector<Placed> *placed) const;
    // The widths of items on one line; false when they cannot share it.
    // squeezed: wrapped text was given less than its preferred width.
    bool Share(const std::vector<const Entry *> &items, int width, std::vector<int> &widths, bool &squeezed) const;
    static int LineHeight(const std::vector<const Entry *> &items, const std::vector<int> &widths);
    int Gap() const;
    // The height of the scroll area's view that shows the layout's widget, less the margins; 0 without one.
    int ViewHeight() const;

    std::vector<Entry> entries_;
};
