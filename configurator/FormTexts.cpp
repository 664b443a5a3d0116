#include "configurator/FormTexts.h"
#include "link/Readdata.h"

QStringList BuiltInGsmStateTexts()
{
    return {
        QStringLiteral("Инициализация модема"),
        QStringLiteral("Сервисный режим, обновление микропрограммы GSM модуля"),
        QStringLiteral("Основное питание отсутствует, регистрация в сети GSM невозможна"),
        QStringLiteral("SIM карта не установлена"),
        QStringLiteral("SIM карта неисправна или отсутствует"),
        QStringLiteral("Не верный PIN-код"),
        QStringLiteral("SIM карта заблокирована, требуется PUK-код"),
        QStringLiteral("PIN-код принят"),
        QStringLiteral("Зарегистрирован в домашней сети"),
        QStringLiteral("Регистрация в процессе..."),
        QStringLiteral("Зарегистрирован в роуменге"),
        QStringLiteral("Неизвестное состояние GSM модуля"),
    };
}

FormTexts FormTexts::Defaults()
{
    FormTexts t;
    t.PortOpenFailureText =
        QStringLiteral("Не возможно открыть указанный COM порт, возможно он занят другим приложением.");
    t.PortDialogCaption = QStringLiteral("Выбор COM порта");
    t.VersionLabelPrefix = QStringLiteral("для версии устройства");
    t.AboutCaption = QStringLiteral("О программе");
    t.ModeNames = {QStringLiteral("ОХРАНА"), QStringLiteral("НАБЛЮДЕНИЕ"), QStringLiteral("ЗАЩИТА"),
                   QStringLiteral("Смена режима")};
    t.OutputNames = {QStringLiteral("Реле 1"),  QStringLiteral("Реле 2"),  QStringLiteral("Выход 1"),
                     QStringLiteral("Выход 2"), QStringLiteral("Выход 3"), QStringLiteral("Выход 4"),
                     QStringLiteral("Выход 5")};
    t.OutputActionNames = {QStringLiteral("Нет реакции"), QStringLiteral("Включить"), QStringLiteral("Выключить")};
    for (int n = 1; n <= 14; ++n)
        t.OutputActionNames << QStringLiteral("сценарий ") + QString::number(n);
    t.EventActionNames = {QStringLiteral("Нет действия"),
                          QStringLiteral("Перейти в реж. Охрана"),
                          QStringLiteral("Перейти в реж. Наблюдение"),
                          QStringLiteral("Управление Реле 1"),
                          QStringLiteral("Управление Реле 2"),
                          QStringLiteral("Управление Выходом 1"),
                          QStringLiteral("Управление Выходом 2"),
                          QStringLiteral("Управление Выходом 3"),
                          QStringLiteral("Управление Выходом 4"),
                          QStringLiteral("Управление Выходом 5")};
    t.LedModeNames = {QStringLiteral("Показывать состояние входов 1-8 на индикаторах In1-In8"),
                      QStringLiteral("Показывать уровень GSM сигнала на индикаторах In1-In8"),
                      QStringLiteral("Показывать состояние входов 9-16 на индикаторах In1-In8"),
                      QStringLiteral("Показывать состояние входов на индикаторах In1-In4"),
                      QStringLiteral("Показывать уровень GSM сигнала на индикаторах In1-In4"),
                      QStringLiteral("Показывать состояние выходов на индикаторах In1-In4"),
                      QStringLiteral("Показывать информацию попеременно"),
                      QStringLiteral("Установлена плата расширенной индикации")};
    t.EnabledWords = {QStringLiteral("Разрешено"), QStringLiteral("Разрешен")};
    t.StimulusCaptions = {QStringLiteral(" События воздействующие на это реле [Вкладка | Воздействие | Событие] "),
                          QStringLiteral(" События воздействующие на этот выход [Вкладка | Воздействие | Событие] ")};
    t.SignalShapeText = QStringLiteral("Форма сигнала");
    t.ScenarioNumberText = QStringLiteral("Сценарий №");
    t.CycleText = QStringLiteral("ЦИКЛ");
    t.HighLevelText = QStringLiteral("ВЫС");
    t.LowLevelText = QStringLiteral("НИЗ");
    t.GsmStateTexts = BuiltInGsmStateTexts();
    FillStatusMessages(&t.StatusMessages);
    t.KeyTableFullText = QStringLiteral("Вся память использована");
    t.KeyKnownPrefix = QStringLiteral("Ключ с кодом: ");
    t.KeyKnownSuffix = QStringLiteral(", уже внесен в таблицу");
    return t;
}
