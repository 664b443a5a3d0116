#include "voiceprog/VoiceTexts.h"

VoiceTexts VoiceTexts::Defaults()
{
    VoiceTexts t;
    t.FreeWord = QStringLiteral("Свободно");
    t.UsedWord = QStringLiteral("Занято");
    t.SecondsWord = QStringLiteral("Сек.");
    t.PortDialogCaption = QStringLiteral("Выбор COM порта");
    t.PortOpenFailureText =
        QStringLiteral("Не возможно открыть указанный COM порт, возможно он занят другим приложением.");
    t.AboutCaption = QStringLiteral("О программе");
    return t;
}

QStringList BuiltInVoiceEvents()
{
    QStringList e;
    e << QStringLiteral("Фраза в начале оповещения") << QStringLiteral("Недопустимый параметр")
      << QStringLiteral("Переход в режим \"ОХРАНА\"") << QStringLiteral("Переход в режим \"ЗАЩИТА\"")
      << QStringLiteral("Переход в режим \"НАБЛЮДЕНИЕ\"");
    for (int n = 1; n <= 8; ++n)
        e << QStringLiteral("Активен %1-й вход").arg(n);
    for (int n = 1; n <= 8; ++n)
        e << QStringLiteral("%1-й вход неактивен").arg(n);
    e << QStringLiteral("Отключение внешнего питания") << QStringLiteral("Восстановление внешнего питания")
      << QStringLiteral("Разряд аккумулятора ниже 1-го уровня")
      << QStringLiteral("Разряд аккумулятора ниже 2-го уровня") << QStringLiteral("Аккумулятор не подключен")
      << QStringLiteral("Баланс ниже нормы") << QStringLiteral("Температура системной платы понизилась")
      << QStringLiteral("Температура системной платы восстановилась к норме")
      << QStringLiteral("Температура системной платы повысилась") << QStringLiteral("Вскрытие корпуса")
      << QStringLiteral("Переход на внешнее переговорное устроство")
      << QStringLiteral("Вступительная фраза перед тестовым сообщением") << QStringLiteral("Все параметры в норме")
      << QStringLiteral("Вступительная фраза перед информационным сообщением") << QStringLiteral("Запрос пароля")
      << QStringLiteral("Вступительная фраза после введения пароля");
    const QString active = QStringLiteral("%1 - активное состояние");
    const QString passive = QStringLiteral("%1 - пассивное состояние");
    for (const QString &relay : {QStringLiteral("Реле 1"), QStringLiteral("Реле 2")})
        e << active.arg(relay) << passive.arg(relay);
    for (int n = 1; n <= 5; ++n) {
        const QString output = QStringLiteral("Выход %1").arg(n);
        e << active.arg(output) << passive.arg(output);
    }
    e << QStringLiteral("Вступительная фраза при выбора номера реле")
      << QStringLiteral("Вспомогательная фраза \"* - режим ОХРАНА\"")
      << QStringLiteral("Вспомогательная фраза \"# - режим НАБЛЮДЕНИЕ\"")
      << QStringLiteral("Вспомогательная фраза \"* - режим ЗАЩИТА\"")
      << QStringLiteral("Вспомогательная фраза \"# - режим ЗАЩИТА\"")
      << QStringLiteral("Вспомогательная фраза: \"...для отмены дальнейшего оповещения...\"")
      << QStringLiteral("Дальнейшее голосовое оповещение отменено");
    for (int n = 1; n <= 8; ++n)
        e << QStringLiteral("Имя %1-го пользователя").arg(n);
    for (int n = 1; n <= 32; ++n)
        e << QStringLiteral("Имя %1-го ключа").arg(n);
    return e;
}

const QStringList &SupportedVersions()
{
    // S and LT: the QRV240 editions; H and HGPS: the QRV610 editions.
    static const QStringList versions = {
        QStringLiteral("S.01.00"),  QStringLiteral("S.01.01"),  QStringLiteral("S.01.02"),
        QStringLiteral("S.01.03"),  QStringLiteral("S.01.04"),  QStringLiteral("S.01.05"),
        QStringLiteral("S.01.06"),  QStringLiteral("LT.01.00"), QStringLiteral("LT.01.01"),
        QStringLiteral("LT.01.02"), QStringLiteral("LT.01.03"), QStringLiteral("LT.01.04"),
        QStringLiteral("LT.01.05"), QStringLiteral("LT.01.06"), QStringLiteral("H.01.00"),
        QStringLiteral("H.01.01"),  QStringLiteral("H.01.02"),  QStringLiteral("H.01.03"),
        QStringLiteral("H.01.04"),  QStringLiteral("H.01.05"),  QStringLiteral("H.01.06"),
        QStringLiteral("HGPS.01.00"), QStringLiteral("HGPS.01.01"), QStringLiteral("HGPS.01.02"),
        QStringLiteral("HGPS.01.03"), QStringLiteral("HGPS.01.04"), QStringLiteral("HGPS.01.05"),
    };
    return versions;
}
