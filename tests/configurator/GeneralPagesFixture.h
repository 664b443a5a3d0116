#pragma once
// Pages 1, 2-9 and 10 standing alone: a window that holds them, the context
// they ask for, and a configuration from the factory defaults.
#include "configurator/core/Configuration.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageConnection.h"
#include "configurator/pages/PageGeneral.h"
#include "tests/configurator/NamedControl.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

class GeneralPagesFixture : public PageContext {
public:
    GeneralPagesFixture()
    {
        FactoryDefaults(config);
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(stack);
        general = new PageGeneral(*this, stack);
        connection = new PageConnection(*this, stack);
        clock = new PageClock(*this, stack);
        for (ConfigPage *page : {static_cast<ConfigPage *>(general), static_cast<ConfigPage *>(connection),
                                 static_cast<ConfigPage *>(clock)})
            stack->addWidget(page);
        form.resize(900, 700);
    }

    const FormTexts &Texts() const override { return texts; }
    QString NodeText(int page) const override
    {
        if (page == Pages::General)
            return QStringLiteral("Общие параметры соединений");
        if (page >= Pages::FirstConnection && page < Pages::Clock)
            return QStringLiteral("Соединение ") + QString::number(page - Pages::FirstConnection + 1);
        if (page == Pages::Clock)
            return QStringLiteral("Часы, планировщик задач");
        return QString();
    }
    ConfigPage *Panel(PanelId panel) const override
    {
        switch (panel) {
        case PanelId::General: return general;
        case PanelId::Connection: return connection;
        case PanelId::Clock: return clock;
        default: return nullptr;
        }
    }

    ConfigPage *PageOf(int page) const
    {
        if (page == Pages::General)
            return general;
        if (page >= Pages::FirstConnection && page < Pages::Clock)
            return connection;
        return clock;
    }

    // What the navigation does on entering a page.
    void Open(int page)
    {
        ConfigPage *p = PageOf(page);
        stack->setCurrentWidget(p);
        p->Enter(page);
        p->ShowPage(page, config);
    }
    void Store(int page) { PageOf(page)->StorePage(page, config); }

    template <class T>
    T *Control(const QString &name) const
    {
        return FindControl<T>(&form, name);
    }

    FormTexts texts = FormTexts::Defaults();
    QWidget form;
    QStackedWidget *stack = new QStackedWidget(&form);
    PageGeneral *general = nullptr;
    PageConnection *connection = nullptr;
    PageClock *clock = nullptr;
    ControllerConfig config;
};

// The offsets where two images differ, with both bytes; empty when equal.
inline QByteArray Differences(const ConfigImage &got, const ConfigImage &want)
{
    QByteArray out;
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i])
            out += QByteArray::number(qulonglong(i)) + ": " + QByteArray::number(got[i], 16) + " want " +
                   QByteArray::number(want[i], 16) + "; ";
    return out;
}

// A user's click on a check box or radio button: on its indicator, which
// also gives it the focus.
inline void ClickButton(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Fills a range of the image with bytes of a fixed seed.
inline void Scramble(ConfigImage &image, int begin, int end, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int i = begin; i < end; ++i)
        image[std::size_t(i)] = quint8(random.bounded(256));
}
