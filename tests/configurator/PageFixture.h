#pragma once
// The pages standing alone: a stand-in for the main window that gives them
// its texts, the tree's node texts and a form that holds them (and whatever
// controls of other pages a test adds), and the fixture that makes a new one
// for each test function.
#include "configurator/pages/ConfigPage.h"
#include "configurator/core/Configuration.h"
#include "configurator/FormTexts.h"
#include "tests/configurator/NamedControl.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <array>
#include <memory>
#include <span>

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

class PageContextFake : public PageContext {
public:
    PageContextFake() { form->resize(1000, 700); }

    const FormTexts &Texts() const override { return texts; }
    QString NodeText(int page) const override { return nodes.value(page); }
    ConfigPage *Panel(PanelId panel) const override { return panels[std::size_t(panel)]; }
    QWidget *Form() const { return form.get(); }

    FormTexts texts = FormTexts::Defaults();
    QStringList nodes = DefaultNodeTexts();
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    // The pages a test makes known to the others.
    std::array<ConfigPage *, PanelCount> panels{};
};

// Each test function gets a new stand-in window, made before it; the window
// goes after it, and with it every page made on it.
class PageTest : public QObject {
    Q_OBJECT
protected:
    // Makes the pages of a test function on context_.
    virtual void MakePages() = 0;

    std::unique_ptr<PageContextFake> context_;

private slots:
    void init()
    {
        context_ = std::make_unique<PageContextFake>();
        MakePages();
    }
    void cleanup() { context_.reset(); }
};

inline constexpr int NotEntered = -1;

// The test of one page, entered as page number `entered` once made.
template <class Page, int entered = NotEntered>
class OnePageTest : public PageTest {
protected:
    void MakePages() override
    {
        page_ = new Page(*context_, context_->Form());
        if constexpr (entered != NotEntered)
            page_->Enter(entered);
    }

    QPointer<Page> page_; // null once the window has gone
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

// The offsets at which two byte ranges differ.
template <class A>
QList<int> DifferingBytes(const A &a, const A &b)
{
    QList<int> offsets;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            offsets << int(i);
    return offsets;
}

// The same with both bytes, for readable failures.
template <class A>
QString Differences(const A &expected, const A &actual)
{
    QStringList out;
    for (int i : DifferingBytes(expected, actual))
        out << QStringLiteral("%1: %2 -> %3").arg(i).arg(expected[std::size_t(i)]).arg(actual[std::size_t(i)]);
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
// box's caption is framed by one blank on each side and has words between.
inline void VerifyNamedControl(const QWidget *form, const QString &name, const QString &kind)
{
    const QList<QObject *> found = form->findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.first()->inherits(kind.toLatin1()), found.first()->metaObject()->className());
    if (auto *box = qobject_cast<QGroupBox *>(found.first())) {
        QVERIFY(box->title().startsWith(QLatin1Char(' ')));
        QVERIFY(box->title().endsWith(QLatin1Char(' ')));
        QVERIFY(!box->title().trimmed().isEmpty());
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
