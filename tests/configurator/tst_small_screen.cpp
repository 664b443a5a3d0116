// On a 1024 x 768 laptop screen: the framed window inside the screen with
// its status bar whole.
#include "tests/configurator/DeviceFixture.h"
#include "tests/support/OffscreenScreen.h"

#include <QApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

class TstSmallScreen : public QObject {
    Q_OBJECT
private slots:
    void windowInsideTheScreen();
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

int main(int argc, char *argv[])
{
    QTemporaryDir configDir;
    qputenv("QT_QPA_PLATFORM", OffscreenWithScreen(configDir, 1024, 768));
    QApplication application(argc, argv);
    TstSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_small_screen.moc"
