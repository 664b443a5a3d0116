#pragma once
// A stand-in for the main window that the input, output and scenario pages
// need: the window's texts, the tree's node texts and a form that holds the
// pages (and whatever controls of other pages a test adds).
#include "configurator/pages/ConfigPage.h"
#include "configurator/core/Configuration.h"
#include "configurator/FormTexts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <QWidget>

#include <memory>

inline QStringList DefaultNodeTexts()
{
    QStringList nodes = {QStringLiteral("GSM контроллер QRV240-S"), QStringLiteral("Общие параметры соединений")};
    for (int n = 1; n <= 8; ++n)
        nodes << QStringLiteral("Соединение %1").arg(n);
    nodes << QStringLiteral("Часы, планировщик задач")
          << QStringLiteral("Питание, температура, индикация, контроль вскрытия") << QStringLiteral("Вход [Arm In]")
          << QStringLiteral("Входы");
    for (int n = 1; n <= 4; ++n)
        nodes << QStringLiteral("Вход %1").arg(n);
    nodes << QStringLiteral("Выходы") << QStringLiteral("Реле 1") << QStringLiteral("Реле 2") << QStringLiteral("Выход 1")
          << QStringLiteral("Выход 2") << QStringLiteral("Сценарии управления") << QStringLiteral("Системные параметры");
    return nodes;
}

class FakePageContext : public PageContext {
public:
    FakePageContext() : texts(FormTexts::Defaults()), nodes(DefaultNodeTexts()), form(std::make_unique<QWidget>())
    {
        form->resize(1000, 700);
    }
    const FormTexts &Texts() const override { return texts; }
    QString NodeText(int page) const override { return nodes.value(page); }
    QWidget *Form() const override { return form.get(); }

    // A combo box of another page, with the reaction items.
    QComboBox *AddReactionCombo(const QString &name)
    {
        auto *box = new QComboBox(form.get());
        box->setObjectName(name);
        box->addItems(texts.OutputActionNames);
        return box;
    }

    FormTexts texts;
    QStringList nodes;
    std::unique_ptr<QWidget> form;
};

// A configuration with the factory defaults.
inline ControllerConfig DefaultConfig()
{
    ControllerConfig config;
    FactoryDefaults(config);
    return config;
}

// Offsets at which two images differ.
inline QList<int> DifferingBytes(const ConfigImage &a, const ConfigImage &b)
{
    QList<int> offsets;
    for (int i = 0; i < ConfigImageSize; ++i)
        if (a[std::size_t(i)] != b[std::size_t(i)])
            offsets << i;
    return offsets;
}

// Control `name` exists exactly once in the form, is a `className`, and a
// group box's caption is framed by blanks.
inline void VerifyNamedControl(const QWidget *form, const QString &name, const QString &className)
{
    const QList<QWidget *> found = form->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(found[0]->inherits(className.toLatin1()), found[0]->metaObject()->className());
    if (auto *box = qobject_cast<QGroupBox *>(found[0])) {
        QVERIFY(box->title().startsWith(QLatin1Char(' ')) && box->title().endsWith(QLatin1Char(' ')));
        QVERIFY(!box->title().trimmed().isEmpty());
    }
}
