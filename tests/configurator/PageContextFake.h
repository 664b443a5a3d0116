#pragma once
// The main window as the pages see it: the texts, the tree's node texts and
// one parent widget that holds every page.
#include "configurator/pages/ConfigPage.h"
#include "configurator/core/Configuration.h"

#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTest>

class PageContextFake : public PageContext {
public:
    FormTexts texts = FormTexts::Defaults();
    QStringList nodes = DefaultNodeTexts();

    const FormTexts &Texts() const override { return texts; }
    QString NodeText(int page) const override { return nodes.value(page); }
    QWidget *Form() const override { return &form_; }

    static QStringList DefaultNodeTexts()
    {
        QStringList n = {QStringLiteral("GSM контроллер QRV240-S"), QStringLiteral("Общие параметры соединений")};
        for (int k = 1; k <= 8; ++k)
            n << QStringLiteral("Соединение %1").arg(k);
        n << QStringLiteral("Часы, планировщик задач")
          << QStringLiteral("Питание, температура, индикация, контроль вскрытия") << QStringLiteral("Вход [Arm In]")
          << QStringLiteral("Входы");
        for (int k = 1; k <= 4; ++k)
            n << QStringLiteral("Вход %1").arg(k);
        n << QStringLiteral("Выходы") << QStringLiteral("Реле 1") << QStringLiteral("Реле 2")
          << QStringLiteral("Выход 1") << QStringLiteral("Выход 2") << QStringLiteral("Сценарии управления")
          << QStringLiteral("Системные параметры");
        return n;
    }

private:
    mutable QWidget form_;
};

// A configuration with the factory defaults.
inline ControllerConfig DefaultConfig()
{
    ControllerConfig config;
    FactoryDefaults(config);
    return config;
}

// Every byte different from the one before, so that a write to the wrong
// place shows.
inline void FillPattern(std::span<quint8> bytes, quint32 seed)
{
    for (quint8 &b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = quint8(seed >> 16);
    }
}

// The offsets at which two byte ranges differ, for readable failures.
template <class A>
QString Differences(const A &expected, const A &actual)
{
    QStringList out;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i])
            out << QStringLiteral("%1: %2 -> %3").arg(i).arg(expected[i]).arg(actual[i]);
    return out.join(QStringLiteral(", "));
}

// A table of named controls: the objectName and the class the control must have.
inline void AddControlColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
}

inline void AddControlRow(const QString &name, const char *kind)
{
    QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(kind);
}

// The form holds exactly one object named `name`, of class `kind`; a group
// box's caption is framed by one blank on each side.
inline void VerifyNamedControl(const QWidget *form, const QString &name, const QString &kind)
{
    const QList<QObject *> found = form->findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.first()->inherits(kind.toLatin1()), found.first()->metaObject()->className());
    if (auto *box = qobject_cast<QGroupBox *>(found.first())) {
        QVERIFY(box->title().startsWith(QLatin1Char(' ')));
        QVERIFY(box->title().endsWith(QLatin1Char(' ')));
    }
}

// The control `name` of the form, which must exist and be of class T.
template <class T>
T *Control(const PageContextFake &context, const QString &name)
{
    T *control = FindControl<T>(context.Form(), name);
    if (control == nullptr)
        qWarning("no control %s", qPrintable(name));
    return control;
}
