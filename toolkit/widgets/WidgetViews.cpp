#include "toolkit/widgets/WidgetViews.h"
#include "toolkit/GuiQueue.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>

QColor ToQColor(TColor colour)
{
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
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
        if (!label)
            return;
        label->setText(text);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ToQColor(colour));
        label->setPalette(palette);
        label->repaint();
        if (QWidget *parent = label->parentWidget())
            parent->repaint();
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
    gui::Post([bar, position] {
        if (bar) {
            bar->setValue(position);
            bar->repaint();
        }
    });
}
