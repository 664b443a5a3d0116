// The real window with its real pages: what a technician does with the tree.
#include "tests/configurator/DeviceFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

class TstNavigation : public QObject {
    Q_OBJECT
private slots:
    void visitingEveryPageLeavesTheImageAsItWas_data();
    void visitingEveryPageLeavesTheImageAsItWas();
    void connectionEditGoesToItsOwnRecord();
    void pageEntriesRebuildTheirListsOnce();
    void pagesFitAWindowOf1024By768();
};

void TstNavigation::visitingEveryPageLeavesTheImageAsItWas_data()
{
    QTest::addColumn<QString>("image");
    QTest::newRow("default image") << "default";
    QTest::newRow("varied image") << "varied";
    QTest::newRow("texts the edit masks reject") << "rejected";
}

void TstNavigation::visitingEveryPageLeavesTheImageAsItWas()
{
    QFETCH(QString, image);
    DeviceFixture f;
    TForm1 &form = f.Form();
    ::ControllerConfig &config = form.ControllerConfig;
    if (image == "varied") {
        // Fields a technician changes, each within what its control offers.
        auto image = View(config.ConfigImage);
        auto connection = RecordView<ConnectionRecord>(config.ConfigImage, 3);
        connection.Set(ConnectionRecord::Phone, QStringLiteral("+79161234567"));
        auto input = RecordView<InputRecord>(config.ConfigImage, 2);
        input.Set(InputRecord::SensName, QStringLiteral("Дверь"));
        image.Set(GeneralFields::ReqPeriodH, 24);
        image.Set(GeneralFields::BalansMinVal, 150);
    } else if (image == "rejected") {
        // As a file or a controller may hold them: every masked text field
        // with characters its mask does not accept.
        using G = GeneralFields;
        auto general = View(config.ConfigImage);
        general.Set(G::SystemPassword, u"pass-1!");
        general.Set(G::Password, u"ab-c");
        general.Set(G::SMSCA, u"+7-916*12");
        general.Set(G::PIN, u"12a4");
        general.Set(G::DTMFPass, u"12a4");
        const char16_t *phones[] = {u"*100#", u"+7(916)123", u"#31#", u"8-800-100", u"*111*1#", u"p123", u"12,34", u"x"};
        for (int n = 0; n < 8; ++n)
            RecordView<ConnectionRecord>(config.ConfigImage, n).Set(ConnectionRecord::Phone, phones[n]);
        // The administrative password stays only while its box is checked.
        f.Get<QCheckBox>("CheckBoxSysPassword")->setChecked(true);
    }
    // Pages that show byte +24 of a key record or the text terminators write them on show.
    form.SelectPage(Pages::ArmIn);
    form.SelectPage(Pages::FirstInput);
    form.SelectPage(Pages::FirstOutput);
    form.SelectPage(Pages::LiveState);
    const ::ConfigImage before = config.ConfigImage;
    const ::SystemParameters parameters = config.SystemParameters;
    for (int page = 1; page < 25; ++page)
        form.SelectPage(page);
    form.SelectPage(Pages::LiveState);
    for (int i = 0; i < ConfigImageSize; ++i)
        if (config.ConfigImage[i] != before[i])
            QFAIL(qPrintable(QStringLiteral("image byte %1 changed from %2 to %3")
                                 .arg(i)
                                 .arg(before[i])
                                 .arg(config.ConfigImage[i])));
    QVERIFY(config.SystemParameters == parameters);
}

void TstNavigation::connectionEditGoesToItsOwnRecord()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.SelectPage(Pages::FirstConnection + 2); // "Соединение 3"
    auto *phone = f.Get<QLineEdit>("MaskEditPhone");
    QVERIFY(phone);
    phone->setText(QStringLiteral("8 916 123 45 67"));
    form.SelectPage(Pages::FirstConnection + 4); // "Соединение 5"
    const ::ConfigImage &image = form.ControllerConfig.ConfigImage;
    QCOMPARE(RecordView<ConnectionRecord>(image, 2).Get(ConnectionRecord::Phone), QStringLiteral("89161234567"));
    QCOMPARE(phone->text().trimmed(), RecordView<ConnectionRecord>(image, 4).Get(ConnectionRecord::Phone));
    QCOMPARE(f.Text("Label74"), QStringLiteral("Соединение 5"));
}

void TstNavigation::pageEntriesRebuildTheirListsOnce()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    for (int round = 0; round < 2; ++round) {
        form.SelectPage(Pages::Power);
        form.SelectPage(Pages::ArmIn);
        form.SelectPage(Pages::LiveState);
    }
    auto *hi = f.Get<QComboBox>("ComboBoxHiBorderLevel");
    QCOMPARE(hi->count(), 129);
    QCOMPARE(hi->itemText(0), QStringLiteral("89° C"));
    QCOMPARE(hi->itemText(128), QStringLiteral("-39° C"));
    QCOMPARE(f.Get<QComboBox>("ComboBoxArmInMode")->count(), 3);
    QCOMPARE(f.Get<QComboBox>("ComboBoxIndFunction")->count(), 4);
}

// Every page without horizontal scrolling and with its combo boxes wide
// enough for their items, beside the tree, in a window of a 1024 x 768 screen.
void TstNavigation::pagesFitAWindowOf1024By768()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.resize(1016, 740); // less the window frame
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList faults;
    for (int page = 0; page < PageCount; ++page) {
        form.SelectPage(page);
        QApplication::processEvents();
        for (const QScrollArea *scroll : form.findChildren<QScrollArea *>())
            if (scroll->isVisible() && scroll->horizontalScrollBar()->isVisible())
                faults << QStringLiteral("page %1 scrolls sideways (%2 of %3 px)")
                              .arg(page)
                              .arg(scroll->widget()->minimumSizeHint().width())
                              .arg(scroll->viewport()->width());
        for (const QComboBox *combo : form.findChildren<QComboBox *>())
            if (combo->isVisible() && combo->width() < combo->sizeHint().width())
                faults << QStringLiteral("page %1: combo box %2 cut (%3 of %4 px)")
                              .arg(page)
                              .arg(combo->objectName())
                              .arg(combo->width())
                              .arg(combo->sizeHint().width());
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstNavigation)
#include "tst_navigation.moc"
