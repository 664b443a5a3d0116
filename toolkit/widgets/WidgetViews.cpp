#include "toolkit/widgets/WidgetViews.h"
#include "toolkit/GuiQueue.h"

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>

namespace {

// What a progress bar shows: how far it is filled, in pixels, and its text.
struct BarPicture {
    qint64 filled;
    QString text;
    bool operator==(const BarPicture &) const = default;
};

BarPicture PictureOf(const QProgressBar &bar)
{
    const qint64 range = qint64(bar.maximum()) - bar.minimum();
    const int length = bar.orientation() == Qt::Horizontal ? bar.width() : bar.height();
    // A bar without a range shows its busy animation whatever its value.
    const qint64 filled = range > 0 ? (qint64(bar.value()) - bar.minimum()) * length / range : 0;
    return {filled, bar.isTextVisible() ? bar.text() : QString()};
}

// What a bar showed when it was last painted, whoever asked for the paint
// (QProgressBar::setValue paints at once itself at some steps).
class PaintedPicture : public QObject {
    Q_OBJECT
public:
    static PaintedPicture &Of(QProgressBar *bar)
    {
        auto *watch = bar->findChild<PaintedPicture *>(QString(), Qt::FindDirectChildrenOnly);
        return watch != nullptr ? *watch : *new PaintedPicture(bar);
    }
    BarPicture picture{-1, QString()};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            picture = PictureOf(*static_cast<QProgressBar *>(watched));
        return false;
    }

private:
    explicit PaintedPicture(QProgressBar *bar) : QObject(bar) { bar->installEventFilter(this); }
};

} // namespace

QColor ToQColor(TColor colour)
{
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
}

void ShowLabelStatus(QLabel *label, const QString &text, TColor colour)
{
    const QColor wanted = ToQColor(colour);
    if (label->text() == text && label->palette().color(QPalette::WindowText) == wanted)
        return;
    label->setText(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, wanted);
    label->setPalette(palette);
    // At once, so that the text is seen while the GUI thread waits for the
    // worker; a label nobody can see needs no paint.
    if (label->isVisible())
        label->repaint();
}

LabelStatus::LabelStatus(QLabel *label) : label_(label) {}

QLabel *LabelStatus::label() const
{
    return label_.data();
}

void LabelStatus::ShowStatus(const QString &text, TColor colour)
{
    QPointer<QLabel> label = label_;
    gui::Post([label, text, colour] {
        if (label)
            ShowLabelStatus(label, text, colour);
    });
}

ProgressBarView::ProgressBarView(QProgressBar *bar) : bar_(bar) {}

void ProgressBarView::SetMax(int max)
{
    QPointer<QProgressBar> bar = bar_;
    gui::Post([bar, max] {
        if (bar)
            bar->setMaximum(max);
    });
}

void ProgressBarView::SetPosition(int position)
{
    QPointer<QProgressBar> bar = bar_;
    gui::PostLatest(bar.data(), [bar, position] {
        if (!bar || bar->value() == position)
            return;
        const PaintedPicture &painted = PaintedPicture::Of(bar);
        bar->setValue(position);
        // At once, but only when the step shows: a new pixel or a new text.
        if (bar->isVisible() && PictureOf(*bar) != painted.picture)
            bar->repaint();
    });
}

#include "WidgetViews.moc"
