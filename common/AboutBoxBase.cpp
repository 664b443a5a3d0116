#include "common/AboutBoxBase.h"
#include "common/Contacts.h"
#include "toolkit/widgets/Desktop.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *NewLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The label is a link: hand cursor, a click opens it.
void MakeLink(QLabel *label, QObject *filter)
{
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->installEventFilter(filter);
}

} // namespace

TAboutBoxBase::TAboutBoxBase(QWidget *mainWindow, const QString &versionText, const QIcon &programIcon,
                             qreal titleScale, int textWidth)
    : QDialog(mainWindow), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = NewLabel(Panel1, "ProgramIcon");
    ProgramIcon->setPixmap(programIcon.pixmap(48, 48));

    Label1 = NewLabel(Panel1, "Label1");
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * titleScale);
    Label1->setFont(title);
    Label3 = NewLabel(Panel1, "Label3", versionText);
    Label4 = NewLabel(Panel1, "Label4", MakerWebAddress);
    Label5 = NewLabel(Panel1, "Label5", QStringLiteral("E-mail: ") + SupportMailAddress);
    MakeLink(Label4, this);
    MakeLink(Label5, this);

    panel_ = new QGridLayout(Panel1);
    panel_->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panel_->addWidget(Label1, 0, 1);
    panel_->addWidget(Label3, 1, 1);
    panel_->addWidget(Label4, 2, 1);
    panel_->addWidget(Label5, 3, 1);
    panel_->setColumnMinimumWidth(1, textWidth);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();
    auto *form = new QVBoxLayout(this);
    form->addWidget(Panel1);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBoxBase::SetDetail(QWidget *detail)
{
    panel_->addWidget(detail, 4, 1);
}

void TAboutBoxBase::Label4Click()
{
    OpenLink(MakerWebPageUrl());
}

void TAboutBoxBase::Label5Click()
{
    OpenLink(SupportMailUrl(MailSubject()));
}

void TAboutBoxBase::showEvent(QShowEvent *event)
{
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

bool TAboutBoxBase::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label4)
            Label4Click();
        else if (watched == Label5)
            Label5Click();
    }
    return QDialog::eventFilter(watched, event);
}
