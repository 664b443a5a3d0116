// On a 1024 x 768 laptop screen: the framed window inside the screen with
// its status bar whole, a device action's status and progress in view, the
// scheduler's controls whole, the key table as tall as the page's view.
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageLiveState.h"
#include "toolkit/widgets/StringGrid.h"
#include "tests/configurator/DeviceFixture.h"
#include "tests/support/Bytes.h"
#include "tests/support/OffscreenScreen.h"
#include "tests/support/WindowSystemInput.h"

#include <QApplication>
#include <QComboBox>
#include <QProgressBar>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

namespace {

void ShowOnPage(TForm1 &form, int page)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SelectPage(page);
}

// The part of the widget that its parents leave in view, in its own coordinates.
QRect ShownPart(const QWidget *widget)
{
    if (!widget->isVisible())
        return {};
    QRect shown = widget->rect();
    for (const QWidget *w = widget; !w->isWindow(); w = w->parentWidget()) {
        const QWidget *parent = w->parentWidget();
        const QPoint offset = widget->mapTo(parent, QPoint(0, 0));
        shown &= parent->rect().translated(-offset);
    }
    return shown;
}

// Whole, and neither outside the window nor scrolled out of its view.
bool InView(const QWidget *widget)
{
    return widget->isVisible() && ShownPart(widget) == widget->rect();
}

} // namespace

class TstSmallScreen : public QObject {
    Q_OBJECT
private slots:
    void windowInsideTheScreen();
    void actionResultInView_data();
    void actionResultInView();
    void schedulerControlsWhole();
    void keyTableAsTallAsTheView();
};

void TstSmallScreen::windowInsideTheScreen()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect screen = form.screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1024, 768));
    QTRY_VERIFY(form.isMaximized());
    QVERIFY(screen.contains(form.frameGeometry()));
    const QRect bar(form.StatusBar1->mapToGlobal(QPoint(0, 0)), form.StatusBar1->size());
    QVERIFY(screen.contains(bar));
}

void TstSmallScreen::actionResultInView_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("result");
    QTest::newRow("F6 Считать") << int(Qt::Key_F6) << QStringLiteral("Данные считаны");
    QTest::newRow("F7 Сравнить") << int(Qt::Key_F7)
                                 << QStringLiteral("Данные в памяти контроллера аналогичны текущим");
}

// Started from another page: the action shows the root page, whose status
// and progress bar stay in view while it runs and when it has ended.
void TstSmallScreen::actionResultInView()
{
    QFETCH(int, key);
    QFETCH(QString, result);
    DeviceFixture f;
    TForm1 &form = f.Form();
    QVERIFY(f.sim->setArea(1, Bytes(DefaultImage())));
    f.sim->setBaudRate(115200);
    ShowOnPage(form, Pages::ArmIn);
    const PageLiveState *live = form.Page<PageLiveState>();
    bool running = false, inView = false;
    AtImageBlock(*f.sim, 3, [&] {
        running = form.ActionRunning();
        inView = InView(live->ActionName) && InView(live->ProgressBar1);
    });

    wsi::Key(&form, key);
    QTRY_COMPARE(live->ActionName->text(), result);
    QVERIFY(running);
    QVERIFY(inView);
    QTRY_VERIFY(!form.ActionRunning());
    QVERIFY(InView(live->ActionName));
    QVERIFY(InView(live->ProgressBar1));
}

// The scheduler is wider than the page: no combo box is cut at the view's
// edge, none is narrower than its items, and the grid scrolls sideways to
// the ones beyond.
void TstSmallScreen::schedulerControlsWhole()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    ShowOnPage(form, Pages::Clock);
    PageClock *clock = form.Page<PageClock>();
    TStringGrid *grid = clock->StringGrid3;
    clock->LineComboBox(PageClock::colAction, 2)->setCurrentIndex(3); // its parameter box shows
    QList<QComboBox *> boxes;
    for (int row = 1; row <= 8; ++row)
        boxes << clock->LineComboBox(PageClock::colAction, row);
    boxes << clock->LineComboBox(PageClock::colParameter, 2);
    const auto noneCut = [&boxes] {
        for (const QComboBox *box : boxes)
            if (box->width() < box->sizeHint().width() || (!ShownPart(box).isEmpty() && !InView(box)))
                return false;
        return true;
    };
    QTRY_VERIFY(grid->isVisible() && noneCut());
    QVERIFY(grid->horizontalScrollBar()->maximum() > 0);
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    QTRY_VERIFY(InView(boxes.last()));
    QVERIFY(noneCut());
    for (const QComboBox *box : boxes)
        QVERIFY2(InView(box), qPrintable(QString::number(boxes.indexOf(box))));
}

// Below the reaction groups, where the page is narrow, the key table and its
// two lines take the height of the page's view: scrolled to, it fills it.
void TstSmallScreen::keyTableAsTallAsTheView()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    ShowOnPage(form, Pages::ArmIn);
    PageArmIn *armIn = form.Page<PageArmIn>();
    TStringGrid *table = armIn->StringGrid1;
    QWidget *body = table->parentWidget();
    auto *area = qobject_cast<QScrollArea *>(body->parentWidget()->parentWidget());
    QVERIFY(area != nullptr);
    const QMargins margins = body->layout()->contentsMargins();
    const int viewHeight = area->viewport()->height() - margins.top() - margins.bottom();
    QTRY_VERIFY(table->isVisible() && table->y() > armIn->GroupBox7->geometry().bottom());
    QTRY_COMPARE(armIn->Label163->geometry().bottom() + 1 - table->y(), viewHeight);
    area->ensureWidgetVisible(table, 0, 0);
    QTRY_VERIFY(InView(table));
}

int main(int argc, char *argv[])
{
    return RunOnScreen<TstSmallScreen>(1024, 768, argc, argv);
}

#include "tst_small_screen.moc"
