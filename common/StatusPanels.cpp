#include "common/StatusPanels.h"

#include <QLabel>

TStatusBar::TStatusBar(const QString &namePrefix, std::initializer_list<Panel> panels, QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (const Panel &p : panels) {
        auto *label = new QLabel(this);
        label->setObjectName(namePrefix + QString::number(panels_.size()));
        label->setAlignment(p.alignment | Qt::AlignVCenter);
        if (p.stretch == 0) {
            label->setFixedWidth(p.width);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFrameShadow(QFrame::Sunken);
            addWidget(label);
        } else {
            label->setMinimumWidth(p.width);
            addPermanentWidget(label, p.stretch);
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
