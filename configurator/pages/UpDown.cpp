#include "configurator/pages/UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget *parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetRange(int min, int max)
{
    min_ = min;
    max_ = qMax(min, max);
    SetPosition(position_);
}

void TUpDown::SetPosition(int position, bool showInAssociate)
{
    position_ = qBound(min_, position, max_);
    const QString text = QString::number(position_);
    if (showInAssociate && associate_ != nullptr && associate_->text() != text)
        associate_->setText(text);
}

void TUpDown::SetAssociate(QLineEdit *edit)
{
    associate_ = edit;
    SetPosition(position_);
}

void TUpDown::Step(int delta)
{
    SetPosition(position_ + delta);
    emit Clicked(position_);
}
