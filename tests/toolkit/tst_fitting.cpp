// The rules by which a window and its parts share the room a screen gives
// them: the window inside the available area with its frame, the columns of
// a grid in a narrow view, the panels of a status bar and their texts.
#include "toolkit/Fitting.h"

#include <QList>
#include <QTest>

namespace {

// What openbox puts around a window: a border and the title bar on top, a handle below.
const QMargins Openbox(1, 20, 1, 5);
const QSize Designed(1270, 770);

QList<int> Listed(const std::vector<int> &widths)
{
    return QList<int>(widths.begin(), widths.end());
}

} // namespace

class TstFitting : public QObject {
    Q_OBJECT
private slots:
    void windowInsideTheAvailableArea_data();
    void windowInsideTheAvailableArea();
    void columnsInANarrowView_data();
    void columnsInANarrowView();
    void panelsKeepTheirTexts_data();
    void panelsKeepTheirTexts();
};

void TstFitting::windowInsideTheAvailableArea_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("1024 x 768") << QSize(1024, 768) << Openbox << QSize(1022, 743) << true;
    QTest::newRow("1366 x 768") << QSize(1366, 768) << Openbox << QSize(1270, 743) << true;
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << Openbox << Designed << false;
    QTest::newRow("1280 x 800") << QSize(1280, 800) << Openbox << Designed << false;
    // The window alone would fit; with its title bar it would not.
    QTest::newRow("frame left out") << QSize(1280, 780) << Openbox << QSize(1270, 755) << true;
    QTest::newRow("exactly the framed size") << QSize(1272, 795) << Openbox << Designed << false;
    QTest::newRow("frame not known yet, too small") << QSize(1024, 768) << QMargins() << QSize(1024, 768) << true;
    QTest::newRow("frame not known yet, fits") << QSize(1280, 770) << QMargins() << Designed << false;
}

void TstFitting::windowInsideTheAvailableArea()
{
    QFETCH(QSize, available);
    QFETCH(QMargins, frame);
    QFETCH(QSize, size);
    QFETCH(bool, maximised);
    const WindowFit fit = FitWindow(Designed, available, frame);
    QCOMPARE(fit.size, size);
    QCOMPARE(fit.maximised, maximised);
    // Restored, the framed window is inside the area too.
    QVERIFY(fit.size.grownBy(frame).width() <= available.width());
    QVERIFY(fit.size.grownBy(frame).height() <= available.height());
}

void TstFitting::columnsInANarrowView_data()
{
    QTest::addColumn<QList<int>>("least");
    QTest::addColumn<QList<int>>("need");
    QTest::addColumn<int>("view");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("room for all") << QList<int>{10, 30} << QList<int>{20, 40} << 100 << QList<int>{20, 40};
    QTest::newRow("exactly the needs") << QList<int>{10, 30} << QList<int>{20, 40} << 60 << QList<int>{20, 40};
    // 40 short: the two that can give 50 and 20 give 29 and 11.
    QTest::newRow("all in view, narrowed") << QList<int>{20, 50, 50} << QList<int>{20, 100, 70} << 150
                                           << QList<int>{20, 71, 59};
    // The scheduler at 1024 x 768: the check and time columns, the action,
    // its parameter. The checks narrow for the action to end at the view's
    // edge; the parameter lies beyond.
    QTest::newRow("scheduler") << QList<int>{331, 212, 115} << QList<int>{368, 212, 110} << 544
                               << QList<int>{332, 212, 110};
    QTest::newRow("none in view") << QList<int>{100} << QList<int>{200} << 50 << QList<int>{200};
    QTest::newRow("least above need") << QList<int>{50, 10} << QList<int>{40, 40} << 60 << QList<int>{40, 20};
}

void TstFitting::columnsInANarrowView()
{
    QFETCH(QList<int>, least);
    QFETCH(QList<int>, need);
    QFETCH(int, view);
    QFETCH(QList<int>, widths);
    std::vector<ColumnRoom> columns;
    for (qsizetype i = 0; i < least.size(); ++i)
        columns.push_back({least[i], need[i]});
    QCOMPARE(Listed(ColumnWidths(columns, view)), widths);
}

void TstFitting::panelsKeepTheirTexts_data()
{
    QTest::addColumn<QList<int>>("text");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QList<int>>("widths");
    // The configurator's four panels, 110 wide at least, stretched 4:1:1:1:
    // file, port, version and the result of the last exchange.
    QTest::newRow("wide bar: by stretch") << QList<int>{70, 35, 50, 175} << 1250 << QList<int>{714, 178, 179, 179};
    QTest::newRow("1024: the result whole") << QList<int>{70, 35, 50, 175} << 1004
                                            << QList<int>{552, 138, 139, 175};
    // Not all texts fit: the long ones are cut, in proportion to their excess.
    QTest::newRow("long result") << QList<int>{70, 35, 50, 750} << 1000 << QList<int>{110, 110, 110, 670};
    QTest::newRow("two long texts") << QList<int>{400, 35, 50, 750} << 1000 << QList<int>{284, 110, 110, 496};
    QTest::newRow("empty texts") << QList<int>{0, 0, 0, 0} << 440 << QList<int>{110, 110, 110, 110};
}

void TstFitting::panelsKeepTheirTexts()
{
    QFETCH(QList<int>, text);
    QFETCH(int, bar);
    QFETCH(QList<int>, widths);
    const int stretches[] = {4, 1, 1, 1};
    std::vector<PanelRoom> panels;
    for (qsizetype i = 0; i < text.size(); ++i)
        panels.push_back({110, text[i], stretches[i]});
    QCOMPARE(Listed(PanelWidths(panels, bar)), widths);
}

QTEST_APPLESS_MAIN(TstFitting)
#include "tst_fitting.moc"
