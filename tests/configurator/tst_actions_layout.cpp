// The window opens at a size that shows every page whole on a 1280 x 800
// screen, and never larger than the screen it opens on.
#include "tests/configurator/MainWindowFixture.h"
#include "tests/support/OffscreenScreen.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

class TstActionsLayout : public QObject {
    Q_OBJECT
private slots:
    void everyPageShowsWhole();
};

void TstActionsLayout::everyPageShowsWhole()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qrvsim::ScopedPortTable ports;
    // The start-up probe finds a port that nothing answers on.
    qrvsim::setPortTableEntry(ports.path(), QStringLiteral("COM1"), dir.filePath(QStringLiteral("no-such-tty")));
    {
        TForm1 form;
        form.Timer2->stop();
        const QRect screen = form.screen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1280, 800));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(screen.contains(form.frameGeometry()));
        auto *pages = form.findChild<QStackedWidget *>(QStringLiteral("PageArea"));
        QVERIFY(pages != nullptr);
        for (int page = 0; page < PageCount; ++page) {
            form.SelectPage(page);
            QApplication::processEvents();
            QWidget *front = pages->currentWidget();
            QList<QScrollArea *> areas = front->findChildren<QScrollArea *>();
            if (auto *area = qobject_cast<QScrollArea *>(front))
                areas << area;
            for (QScrollArea *area : areas) {
                const QString where = QStringLiteral("page %1, %2").arg(page).arg(area->widget()->objectName());
                QVERIFY2(!area->verticalScrollBar()->isVisible(), qPrintable(where));
                QVERIFY2(!area->horizontalScrollBar()->isVisible(), qPrintable(where));
            }
        }
    }
    QDir::setCurrent(previous);
}

int main(int argc, char *argv[])
{
    return RunOnScreen<TstActionsLayout>(1280, 800, argc, argv);
}

#include "tst_actions_layout.moc"
