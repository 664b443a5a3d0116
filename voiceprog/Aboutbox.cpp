#include "Aboutbox.h"
#include "Contacts.h"
#include "VoiceTexts.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel *NewLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

void MakeLink(QLabel *label, QObject *clickFilter)
{
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->installEventFilter(clickFilter);
}

} // namespace

TAboutBox::TAboutBox(QWidget *mainWindow)
    : QDialog(mainWindow), mainCaption_(mainWindow != nullptr ? mainWindow->windowTitle() : QString())
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = NewLabel(Panel1, "ProgramIcon");
    QIcon icon = mainWindow != nullptr ? mainWindow->windowIcon() : QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MediaVolume);
    ProgramIcon->setPixmap(icon.pixmap(48, 48));

    Label1 = NewLabel(Panel1, "Label1", mainCaption_);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    Label1->setFont(title);
    Label3 = NewLabel(Panel1, "Label3", QStringLiteral("Ver.: 1.2.20"));
    Label4 = NewLabel(Panel1, "Label4", MakerWebAddress);
    Label5 = NewLabel(Panel1, "Label5", QStringLiteral("E-mail: ") + SupportMailAddress);
    MakeLink(Label4, this);
    MakeLink(Label5, this);

    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(SupportedVersions().join(QLatin1Char('\n')));
    Memo1->setFixedHeight(110);

    auto *panel = new QGridLayout(Panel1);
    panel->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panel->addWidget(Label1, 0, 1);
    panel->addWidget(Label3, 1, 1);
    panel->addWidget(Label4, 2, 1);
    panel->addWidget(Label5, 3, 1);
    panel->addWidget(Memo1, 4, 1);
    panel->setColumnMinimumWidth(1, 300);

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

void TAboutBox::Label4Click()
{
    OpenLink(MakerWebPageUrl());
}

void TAboutBox::Label5Click()
{
    OpenLink(SupportMailUrl(mainCaption_));
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
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
