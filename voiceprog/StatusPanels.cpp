#include "voiceprog/StatusPanels.h"

#include <QLabel>

TStatusBar::TStatusBar(std::initializer_list<Panel> panels, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (const Panel &p : panels) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(panels_.size()));
        label->setFixedWidth(p.width);
        label->setAlignment(p.alignment | Qt::AlignVCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label);
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
