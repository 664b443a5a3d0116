#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PageLargerModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

class TstPageLargerModel : public QObject {
    Q_OBJECT
private slots:
    void namedControls_data();
    void namedControls();
    void hiddenAndWithoutValues();
};

void TstPageLargerModel::namedControls_data()
{
    AddControlColumns();
    const auto row = AddControlRow;
    for (const char *name : {"Label164", "Label192", "Label166", "Label165", "LabelRedirectToOut", "Label69"})
        row(QLatin1String(name), "QLabel");
    for (const char *name : {"RadioButtonPerimPulsAD", "RadioButtonPerimPulsARM", "RadioButtonPerimTouchAD"})
        row(QLatin1String(name), "QRadioButton");
    for (const char *name : {"GroupBox46", "GroupBoxLinkedInsToPers", "GroupBox48", "GroupBox49", "GroupBox47"})
        row(QLatin1String(name), "QGroupBox");
    row(QStringLiteral("StringGridPerimTouch"), "TStringGrid");
    for (int n = 1; n <= 16; ++n)
        row(QStringLiteral("CheckBoxInput%1LinkType").arg(n), "QCheckBox");
    for (const char *kind : {"PCDto", "PArmTo", "PDisarmTo"})
        for (int n = 1; n <= 7; ++n)
            row(QStringLiteral("ComboBox%1Rele%2").arg(QLatin1String(kind)).arg(n), "QComboBox");
    for (int n : {167, 168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186,
                  187})
        row(QStringLiteral("Label%1").arg(n), "QLabel");
}

void TstPageLargerModel::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    PageContextFake context;
    new PageLargerModel(context, context.Form());
    VerifyNamedControl(context.Form(), name, kind);
}

void TstPageLargerModel::hiddenAndWithoutValues()
{
    PageContextFake context;
    auto *page = new PageLargerModel(context, context.Form());
    QCOMPARE(page->objectName(), QStringLiteral("PanelLargerModel"));
    QVERIFY(page->isHidden());
    QVERIFY(!page->HasValues(Pages::LiveState));
    QCOMPARE(page->Label69->text(), QStringLiteral("Входы"));
    QCOMPARE(FindControl<QLabel>(context.Form(), QStringLiteral("Label174"))->text(), QStringLiteral("Реле 2"));
    QCOMPARE(page->ComboBoxPDisarmToRele[6]->count(), 17);
    ControllerConfig config = DefaultConfig();
    const ControllerConfig before = config;
    page->ShowPage(Pages::LiveState, config);
    page->StorePage(Pages::LiveState, config);
    QVERIFY(config.ConfigImage == before.ConfigImage);
}

QTEST_MAIN(TstPageLargerModel)
#include "tst_page_largermodel.moc"
