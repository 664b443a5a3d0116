// The status bar both windows share: fixed framed panels, or panels that
// share the bar's width and stay beside a message.
#include "common/StatusPanels.h"

#include <QLabel>
#include <QTest>

class TstStatusPanels : public QObject {
    Q_OBJECT
private slots:
    void fixedPanels();
    void stretchingPanels();
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

QTEST_MAIN(TstStatusPanels)
#include "tst_statuspanels.moc"
