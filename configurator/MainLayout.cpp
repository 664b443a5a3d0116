// The main window's actions, menus, tool bar and status bar, as the form holds them.
#include "common/ActionLinks.h"
#include "common/StatusPanels.h"
#include "configurator/Main.h"

#include <QAction>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

QString Utf8(const char *text)
{
    return QString::fromUtf8(text);
}

struct ActionRow {
    QAction *TForm1::*member;
    const char *name;
    const char *caption;
    const char *hint;
    int key;
    void (TForm1::*handler)();
};

// The device and file actions in the order DeviceActions gives them, then
// the two that stay enabled.
const ActionRow actionRows[] = {
    {&TForm1::Programm, "Programm", "Программировать", "Загрузить конфигурацию в контроллер и перезапустить",
     Qt::Key_F5, &TForm1::ProgrammExecute},
    {&TForm1::ReadConf, "ReadConf", "Считать", "Считать конфигурацию контроллера", Qt::Key_F6,
     &TForm1::ReadConfExecute},
    {&TForm1::CompareConf, "CompareConf", "Сравнить", "Сравнить текущую конфигурацию с конфигурацией контроллера",
     Qt::Key_F7, &TForm1::CompareConfExecute},
    {&TForm1::FactoryConfig, "FactoryConfig", "FactoryConfig", "", 0, &TForm1::FactoryConfigExecute},
    {&TForm1::Reset, "Reset", "Reset", "Перезапустить контроллер", 0, &TForm1::ResetExecute},
    {&TForm1::Reconfigurate, "Reconfigurate", "Reconfigurate", "Загрузить конфигурацию в контроллер, без перезапуска",
     0, &TForm1::ReconfigurateExecute},
    {&TForm1::FileOpen1, "FileOpen1", "Открыть файл конфигурации...", "Открыть файл конфигурации", 0,
     &TForm1::FileOpen1Execute},
    {&TForm1::FileSave1, "FileSave1", "Сохранить текущую конфигурацию в файл...",
     "Сохранить текущую конфигурацию в файл", 0, &TForm1::FileSave1Execute},
    {&TForm1::FileNew1, "FileNew1", "Установить стандартную конфигурацию", "Установить стандартную конфигурацию", 0,
     &TForm1::FileNew1Execute},
    {&TForm1::ComPortConfig, "ComPortConfig", "COM порт...", "Настройка COM порта", 0,
     &TForm1::ComPortConfigExecute},
    {&TForm1::Abaut, "Abaut", "О программе...", "", 0, &TForm1::AbautExecute},
    {&TForm1::ReadIMEICode, "ReadIMEICode", "ReadIMEICode", "", Qt::Key_F10, &TForm1::ReadIMEICodeExecute},
};

struct MenuItemRow {
    const char *name; // null: a separator
    const char *caption;
    QAction *TForm1::*action; // null: the item has its own handler
    void (TForm1::*handler)() = nullptr;
};

struct MenuRow {
    const char *name;
    const char *caption;
    std::initializer_list<MenuItemRow> items;
};

const MenuRow menuRows[] = {
    {"N1",
     "Файл",
     {{"N2", "Открыть файл конфигурации...", &TForm1::FileOpen1},
      {"N3", "Сохранить текущую конфигурацию в файл...", &TForm1::FileSave1},
      {"N13", "Установить стандартную конфигурацию", &TForm1::FileNew1},
      {nullptr, nullptr, nullptr},
      {"N7", "Закрыть", nullptr, &TForm1::N7Click}}},
    {"N8", "Настройка", {{"COMPortSetup", "COM порт...", &TForm1::ComPortConfig}}},
    {"N9",
     "Контроллер",
     {{"N10", "Программировать", &TForm1::Programm},
      {"N11", "Считать", &TForm1::ReadConf},
      {"N12", "Сравнить", &TForm1::CompareConf},
      {nullptr, nullptr, nullptr},
      {"ReadIMEICode1", "Считать IMEI контроллера в буфер обмена", &TForm1::ReadIMEICode},
      {nullptr, nullptr, nullptr},
      {"Reconfigurate1", "Реконфигурировать", &TForm1::Reconfigurate},
      {"Reset1", "Перезапустить (Системный сброс)", &TForm1::Reset},
      {"N5", "Восстановить заводскую конфигурацию", &TForm1::FactoryConfig}}},
    {"N14", "?", {{"N15", "О программе...", &TForm1::Abaut}}},
};

struct ToolButtonRow {
    const char *name; // null: a separator
    QAction *TForm1::*action;
    const char *caption; // empty: the button shows its icon
    QStyle::StandardPixmap icon;
};

const ToolButtonRow toolButtonRows[] = {
    {"SpeedButton7", &TForm1::FileNew1, "", QStyle::SP_FileIcon},
    {"SpeedButton2", &TForm1::FileOpen1, "", QStyle::SP_DialogOpenButton},
    {"SpeedButton3", &TForm1::FileSave1, "", QStyle::SP_DialogSaveButton},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {"SpeedButton6", &TForm1::Programm, "Программировать", QStyle::SP_CustomBase},
    {"SpeedButton8", &TForm1::ReadConf, "Считать", QStyle::SP_CustomBase},
    {"SpeedButton1", &TForm1::CompareConf, "Сравнить", QStyle::SP_CustomBase},
    {"SpeedButton4", &TForm1::Reconfigurate, "Реконфигурировать", QStyle::SP_CustomBase},
    {"SpeedButton9", &TForm1::Reset, "Перезапустить (Системный сброс)", QStyle::SP_CustomBase},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {"SpeedButton5", &TForm1::ComPortConfig, "COM порт...", QStyle::SP_CustomBase},
};

} // namespace

void TForm1::CreateActions()
{
    for (const ActionRow &row : actionRows) {
        auto *action = new QAction(Utf8(row.caption), this);
        action->setObjectName(QLatin1String(row.name));
        if (*row.hint != '\0') {
            action->setToolTip(Utf8(row.hint));
            action->setStatusTip(Utf8(row.hint));
        }
        if (row.key != 0)
            action->setShortcut(QKeySequence(row.key));
        connect(action, &QAction::triggered, this, row.handler);
        this->*row.member = action;
    }
}

void TForm1::CreateMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuRow &row : menuRows) {
        QMenu *menu = bar->addMenu(Utf8(row.caption));
        menu->setObjectName(QLatin1String(row.name));
        menu->menuAction()->setObjectName(QLatin1String(row.name));
        for (const MenuItemRow &itemRow : row.items) {
            if (itemRow.name == nullptr) {
                menu->addSeparator();
                continue;
            }
            QAction *item = menu->addAction(Utf8(itemRow.caption));
            item->setObjectName(QLatin1String(itemRow.name));
            if (itemRow.action != nullptr)
                LinkToAction(item, this->*itemRow.action, ItemShows::ShortcutAndHint);
            else
                connect(item, &QAction::triggered, this, itemRow.handler);
        }
    }
}

void TForm1::CreateToolBar()
{
    QToolBar *bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    for (const ToolButtonRow &row : toolButtonRows) {
        if (row.name == nullptr) {
            bar->addSeparator();
            continue;
        }
        auto *button = new QToolButton;
        button->setObjectName(QLatin1String(row.name));
        button->setText(Utf8(row.caption));
        LinkToAction(button, this->*row.action);
        if (row.icon != QStyle::SP_CustomBase) {
            button->setIcon(style()->standardIcon(row.icon));
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        bar->addWidget(button);
    }
}

void TForm1::CreateStatusBar()
{
    statusPanels_ = new TStatusBar(QStringLiteral("StatusBar1Panel"),
                                   {{.width = 110, .stretch = 4}, {.width = 110, .stretch = 1},
                                    {.width = 110, .stretch = 1}, {.width = 110, .stretch = 1}});
    statusPanels_->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(statusPanels_);
    StatusBar1 = statusPanels_;
}
