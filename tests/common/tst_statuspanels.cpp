// The status bar both windows share: fixed framed panels, or panels that
// share the bar's width and stay beside a message; the texts show whole.
#include "common/StatusPanels.h"

#include <QLabel>
#include <QTest>

class TstStatusPanels : public QObject {
    Q_OBJECT
private slots:
    void fixedPanels();
    void stretchingPanels();
    void lastFixedPanelInsideTheBar();
    void stretchingPanelsShowTheirTexts_data();
    void stretchingPanelsShowTheirTexts();
};

void TstStatusPanels::fixedPanels()
{
    TStatusBar bar(QStringLiteral("Panel"), {{300, Qt::AlignLeft}, {60, Qt::AlignHCenter}});
    bar.resize(800, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    auto *first = bar.findChild<QLabel *>(QStringLiteral("Panel0"));
    auto *second = bar.findChild<QLabel *>(QStringLiteral("Panel1"));
    QVERIFY(first != nullptr && second != nullptr);
    QCOMPARE(first->width(), 300);
    QCOMPARE(second->width(), 60);
    QCOMPARE(first->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(second->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(first->frameShape(), QFrame::StyledPanel);
    QCOMPARE(first->frameShadow(), QFrame::Sunken);
    // Left in the bar, in their order.
    QVERIFY(first->x() < second->x());
    QVERIFY(second->geometry().right() < bar.width() / 2);

    bar.showMessage(QStringLiteral("hint"));
    QVERIFY(first->isHidden());
    bar.clearMessage();
    QVERIFY(!first->isHidden());
}

void TstStatusPanels::stretchingPanels()
{
    TStatusBar bar(QStringLiteral("StatusBar1Panel"), {{.width = 110, .stretch = 4}, {.width = 110, .stretch = 1}});
    bar.resize(1000, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    auto *first = bar.findChild<QLabel *>(QStringLiteral("StatusBar1Panel0"));
    auto *second = bar.findChild<QLabel *>(QStringLiteral("StatusBar1Panel1"));
    QVERIFY(first != nullptr && second != nullptr);
    QCOMPARE(first->minimumWidth(), 110);
    QCOMPARE(second->maximumWidth(), QWIDGETSIZE_MAX);
    QVERIFY(first->width() > 3 * second->width());
    QVERIFY(second->width() >= 110);
    QCOMPARE(first->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(first->frameShape(), QFrame::NoFrame);

    bar.showMessage(QStringLiteral("hint"));
    QVERIFY(!first->isHidden());
    QVERIFY(!second->isHidden());
    bar.SetPanelText(1, QStringLiteral("COM1"));
    QCOMPARE(bar.PanelText(1), QStringLiteral("COM1"));
    QCOMPARE(second->text(), QStringLiteral("COM1"));
}

// The voice programmer's panels in a bar as wide as they ask: the last one's
// frame stands whole inside it.
void TstStatusPanels::lastFixedPanelInsideTheBar()
{
    TStatusBar bar(QStringLiteral("Panel"), {{300, Qt::AlignLeft}, {60, Qt::AlignHCenter}, {90, Qt::AlignHCenter},
                                             {50, Qt::AlignLeft}});
    bar.resize(bar.sizeHint());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const auto *first = bar.findChild<QLabel *>(QStringLiteral("Panel0"));
    const auto *last = bar.findChild<QLabel *>(QStringLiteral("Panel3"));
    QCOMPARE(last->width(), 50);
    QCOMPARE(bar.width() - 1 - last->geometry().right(), first->x());
}

void TstStatusPanels::stretchingPanelsShowTheirTexts_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("texts");
    const QStringList read{"default.cnt", "COM1", "S.01.01", "Версия устройства считана"};
    QTest::newRow("1024, a read") << 1024 << read;
    QTest::newRow("1270, a read") << 1270 << read;
    QTest::newRow("1024, a file's whole path")
        << 1024 << QStringList{"/home/technician/qrv/site-17/controller-2.cnt", "COM12", "S.01.01", "Данные считаны"};
}

// The configurator's panels: a text shows whole wherever the bar has room for it.
void TstStatusPanels::stretchingPanelsShowTheirTexts()
{
    QFETCH(int, width);
    QFETCH(QStringList, texts);
    TStatusBar bar(QStringLiteral("StatusBar1Panel"), {{.width = 110, .stretch = 4}, {.width = 110, .stretch = 1},
                                                       {.width = 110, .stretch = 1}, {.width = 110, .stretch = 1}});
    for (int i = 0; i < texts.size(); ++i)
        bar.SetPanelText(i, texts[i]);
    bar.resize(width, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    int right = -1;
    for (int i = 0; i < texts.size(); ++i) {
        const auto *label = bar.findChild<QLabel *>(QStringLiteral("StatusBar1Panel") + QString::number(i));
        QTRY_VERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(texts[i]), qPrintable(texts[i]));
        QVERIFY(label->x() > right);
        right = label->geometry().right();
        QVERIFY(label->mapTo(&bar, QPoint(label->width() - 1, 0)).x() < bar.width());
    }
}

QTEST_MAIN(TstStatusPanels)
#include "tst_statuspanels.moc"
