// The main window's actions, menu, tool bar and controls, as the form holds them.
#include "voiceprog/Mainform.h"
#include "common/ActionLinks.h"
#include "common/StatusPanels.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename W>
W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QAction *NewAction(QObject *parent, const char *name, const QString &caption, const QString &hint,
                   const QIcon &icon = QIcon())
{
    auto *action = Named(new QAction(icon, caption, parent), name);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setStatusTip(hint);
    return action;
}

// A menu item that shows an action: a caption of its own, the action's state.
QAction *NewMenuItem(QMenu *menu, const char *name, QAction *shown)
{
    auto *item = Named(menu->addAction(shown->icon(), shown->text()), name);
    LinkToAction(item, shown, ItemShows::StateOnly);
    return item;
}

// A tool button that shows an action, the same way.
QToolButton *NewToolButton(QToolBar *bar, const char *name, QAction *shown, bool withCaption)
{
    auto *button = Named(new QToolButton(bar), name);
    button->setIcon(shown->icon());
    if (withCaption)
        button->setText(shown->text());
    button->setToolButtonStyle(withCaption ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    LinkToAction(button, shown);
    bar->addWidget(button);
    return button;
}

struct IdentityRow {
    const char *name;
    const char *caption;
    const char *placeholder;
};

constexpr char IdentifierPlaceholder[] =
    "- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -  ";

constexpr IdentityRow IdentityRows[] = {
    {"iDeviceNameLabel", "Устройство:", "- - - - - - - -"},
    {"iModificationLabel", "Модификация:", "- - - - - - - -"},
    {"iHardVerLabel", "Аппаратная вер.:", "- - . - -"},
    {"iSoftVerLabel", "Микропрограмма:", "- - . - -"},
    {"iBLLabel", "Версия загрузчика:", "- - . - -"},
    {"iDateLabel", "Дата:", "- -  - -  - - - -"},
    {"iLabelCountryCode", "Код страны:", "- - -"},
    {"iLabelDevSNLocked", "Привязка к идентификатору:", IdentifierPlaceholder},
    {"iGSMIMEILabel", "GSM IMEI:", "- - - - - - - - - - - - - - -"},
    {"iLabelDevSN", "Уникальный идентификатор:", IdentifierPlaceholder},
};

} // namespace

void TForm1::BuildActions()
{
    QStyle *s = style();
    FileNew1 = NewAction(this, "FileNew1", QStringLiteral("Очистить память"),
                         QStringLiteral("Очистить память голосовых сообщений"), s->standardIcon(QStyle::SP_FileIcon));
    FileOpen1 = NewAction(this, "FileOpen1", QStringLiteral("Открыть файл голосовых сообщений..."),
                          QStringLiteral("Открыть файл голосовых сообщений"),
                          s->standardIcon(QStyle::SP_DialogOpenButton));
    FileSave1 = NewAction(this, "FileSave1", QStringLiteral("Сохранить голосовые сообщения в файл..."),
                          QStringLiteral("Сохранить голосовые сообщения в файл"),
                          s->standardIcon(QStyle::SP_DialogSaveButton));
    Programm = NewAction(this, "Programm", QStringLiteral("Программировать"),
                         QStringLiteral("Загрузить звуковые сообщения в контроллер"),
                         s->standardIcon(QStyle::SP_ArrowUp));
    ReadConf = NewAction(this, "ReadConf", QStringLiteral("Считать"),
                         QStringLiteral("Считать звуковые сообщения из контроллера"),
                         s->standardIcon(QStyle::SP_ArrowDown));
    CompareConf = NewAction(this, "CompareConf", QStringLiteral("Сравнить"),
                            QStringLiteral("Сравнить текущую конфигурацию с конфигурацией контроллера"),
                            s->standardIcon(QStyle::SP_FileDialogContentsView));
    ComPortConfig = NewAction(this, "ComPortConfig", QStringLiteral("COM порт..."),
                              QStringLiteral("Настройка COM порта"));
    Abaut = NewAction(this, "Abaut", QStringLiteral("О программе..."), QString());
}

void TForm1::BuildMenu()
{
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(MainMenu1);

    N1 = Named(MainMenu1->addMenu(QStringLiteral("Файл")), "N1");
    N13 = NewMenuItem(N1, "N13", FileNew1);
    N2 = NewMenuItem(N1, "N2", FileOpen1);
    N3 = NewMenuItem(N1, "N3", FileSave1);
    N1->addSeparator();
    N7 = Named(N1->addAction(QStringLiteral("Закрыть          Alt+F4")), "N7");

    N8 = Named(MainMenu1->addMenu(QStringLiteral("Настройка")), "N8");
    COM1 = NewMenuItem(N8, "COM1", ComPortConfig);

    N9 = Named(MainMenu1->addMenu(QStringLiteral("Контроллер")), "N9");
    N10 = NewMenuItem(N9, "N10", Programm);
    N11 = NewMenuItem(N9, "N11", ReadConf);
    N12 = NewMenuItem(N9, "N12", CompareConf);

    N14 = Named(MainMenu1->addMenu(QStringLiteral("?")), "N14");
    N15 = NewMenuItem(N14, "N15", Abaut);
}

void TForm1::BuildToolBar()
{
    ToolBar1 = Named(new QToolBar(this), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(ToolBar1);
    SpeedButton7 = NewToolButton(ToolBar1, "SpeedButton7", FileNew1, false);
    SpeedButton2 = NewToolButton(ToolBar1, "SpeedButton2", FileOpen1, false);
    SpeedButton3 = NewToolButton(ToolBar1, "SpeedButton3", FileSave1, false);
    ToolBar1->addSeparator();
    SpeedButton6 = NewToolButton(ToolBar1, "SpeedButton6", Programm, true);
    SpeedButton8 = NewToolButton(ToolBar1, "SpeedButton8", ReadConf, true);
    SpeedButton9 = NewToolButton(ToolBar1, "SpeedButton9", CompareConf, true);
    SpeedButton9->setToolTip(QStringLiteral("Сравнить настоящие звуковые сообщения с сообщениями контроллера"));
}

void TForm1::BuildForm()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    GroupBox1 = Named(new QGroupBox(QStringLiteral(" Звуковые сообщения "), central), "GroupBox1");
    Label11 = Named(new QLabel(QStringLiteral("Событие"), GroupBox1), "Label11");
    ComboBoxEvents = Named(new QComboBox(GroupBox1), "ComboBoxEvents");
    ComboBoxEvents->setMaxVisibleItems(16);
    ComboBoxEvents->setMinimumWidth(420);
    Label1 = Named(new QLabel(QStringLiteral("Продолжительность звукового фрагмента"), GroupBox1), "Label1");
    EditFragmentTime = Named(new QLineEdit(GroupBox1), "EditFragmentTime");
    EditFragmentTime->setReadOnly(true);
    EditFragmentTime->setFocusPolicy(Qt::NoFocus);
    EditFragmentTime->setFixedWidth(110);
    BitBtn1 = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Открыть"),
                                    GroupBox1),
                    "BitBtn1");
    BitBtn1->setToolTip(QStringLiteral("Загрузить новый звуковой фрагмент"));
    BitBtn2 = Named(new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("Удалить"),
                                    GroupBox1),
                    "BitBtn2");
    BitBtn2->setToolTip(QStringLiteral("Удалить звуковой фрагмент"));

    auto *sounds = new QGridLayout(GroupBox1);
    sounds->addWidget(Label11, 0, 0, 1, 4);
    sounds->addWidget(ComboBoxEvents, 1, 0, 1, 4);
    sounds->addWidget(Label1, 2, 0, 1, 4);
    sounds->addWidget(EditFragmentTime, 3, 0);
    sounds->setColumnStretch(1, 1);
    sounds->addWidget(BitBtn1, 3, 2);
    sounds->addWidget(BitBtn2, 3, 3);

    GroupBox2 = Named(new QGroupBox(QStringLiteral(" Память голосовых сообщений "), central), "GroupBox2");
    Label2 = Named(new QLabel(QStringLiteral("Индикатор использования памяти:"), GroupBox2), "Label2");
    ProgressBar1 = Named(new QProgressBar(GroupBox2), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    Label3 = Named(new QLabel(GroupBox2), "Label3");
    auto *memory = new QVBoxLayout(GroupBox2);
    memory->addWidget(Label2);
    memory->addWidget(ProgressBar1);
    memory->addWidget(Label3);

    ActionName = Named(new QLabel(central), "ActionName");
    QFont bold = ActionName->font();
    bold.setBold(true);
    ActionName->setFont(bold);
    ActionName->setWordWrap(true);
    ActionName->setMinimumHeight(2 * ActionName->fontMetrics().lineSpacing());
    ProgressBar2 = Named(new QProgressBar(central), "ProgressBar2");
    ProgressBar2->setTextVisible(false);

    GroupBox15 = Named(new QGroupBox(QStringLiteral(" Идентификатор устройства "), central), "GroupBox15");
    auto *identity = new QGridLayout(GroupBox15);
    int row = 0;
    for (const IdentityRow &r : IdentityRows) {
        identity->addWidget(new QLabel(QString::fromUtf8(r.caption), GroupBox15), row, 0);
        identity->addWidget(Named(new QLabel(QString::fromUtf8(r.placeholder), GroupBox15), r.name), row, 1);
        ++row;
    }
    GroupBox15->hide();

    auto *form = new QVBoxLayout(central);
    form->addWidget(GroupBox1);
    form->addWidget(GroupBox2);
    form->addWidget(ActionName);
    form->addWidget(ProgressBar2);
    form->addWidget(GroupBox15);

    StatusBar1 = Named(new TStatusBar(QStringLiteral("Panel"),
                                      {{300, Qt::AlignLeft}, {60, Qt::AlignHCenter}, {90, Qt::AlignHCenter},
                                       {50, Qt::AlignLeft}},
                                      this),
                       "StatusBar1");
    setStatusBar(StatusBar1);

    // Fixed size, minimise but no maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}
