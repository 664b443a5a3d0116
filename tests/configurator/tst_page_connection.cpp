// Pages 2-9, connections 1..8: one set of controls for the eight records.
#include "tests/configurator/GeneralPagesFixture.h"
#include "toolkit/widgets/MaskEdit.h"

#include <QTest>

namespace {

using R = ConnectionRecord;

FieldView Record(ControllerConfig &config, int page)
{
    return RecordView<R>(config.ConfigImage, page - Pages::FirstConnection);
}

// Every byte of the record scrambled, then each edited field put at a value
// that is an item of its control (the untouched bits keep their noise).
void VaryRecord(ConfigImage &image, int index)
{
    const int base = R::Base + R::Size * index;
    Scramble(image, base, base + R::Size, 100 + index);
    const FieldView r = RecordView<R>(image, index);
    const quint8 *b = image.data() + base;
    r.Set(R::Phone, QStringLiteral("+7916%1").arg(1000000 + index * 1111));
    r.Set(R::TransportPriority, b[16] % 3);
    r.Set(R::GroupNum, b[17] % 8);
    r.Set(R::DialTranspWaitTime, b[17] % 16);
    r.Set(R::IncomungCallAction, index % 3);
    r.Set(R::ICToOUOutN, b[18] % 7);
    r.Set(R::ICToOUScnN, b[18] % 17);
    r.Set(R::OnLineTime, b[19] % 62);
    r.Set(R::ConnectionType, index % 3);
    r.Set(R::SMSTranspWaitTime, b[28] % 16);
    r.Set(R::Lang, b[29] % 3);
    // A checked input is also "checked or grayed".
    for (const InputMaskPair &pair : {R::Voice.MaskInput, R::Sms.MaskInput})
        r.Set(pair.any, r.Get(pair.any) | r.Get(pair.checked));
}

// Only the pair words' bits of inputs 9-16 change on a store.
ConfigImage WithoutHighInputs(ConfigImage image)
{
    for (int index = 0; index < R::Count; ++index)
        for (int word : {22, 24, 30, 32})
            image[std::size_t(R::Base + R::Size * index + word + 1)] = 0;
    return image;
}

} // namespace

class TestPageConnection : public QObject {
    Q_OBJECT
private slots:
    void builtControls();
    void sourcesReadInOrder();
    void entryAdaptations();
    void roundTrip_data();
    void roundTrip();
    void switchingRecords();
    void phoneWithoutBlanks();
    void threeStateInputs();
    void indexBeyondItems_data();
    void indexBeyondItems();
    void incomingCallHint();
    void exclusiveSourcesOnClick();
    void noExclusivityWithoutSentryBeacon();
    void fillAppliesNoExclusivity();
    void typeChangeKeepsFirstGroup_data();
    void typeChangeKeepsFirstGroup();
};

void TestPageConnection::builtControls()
{
    GeneralPagesFixture f;
    PageConnection *p = f.connection;
    QCOMPARE(p->objectName(), QStringLiteral("Panel5"));
    QCOMPARE(p->ComboBoxOnLineTime->count(), 62);
    QCOMPARE(p->ComboBoxOnLineTime->itemText(1), QStringLiteral("Задается DTMF упр."));
    QCOMPARE(p->ComboBoxOnLineTime->itemText(2), QStringLiteral("2 Sec."));
    QCOMPARE(p->ComboBoxOnLineTime->itemText(61), QStringLiteral("61 Sec."));
    for (QComboBox *wait : {p->ComboBoxDialTranspWaitTime, p->ComboBoxSMSTranspWaitTime}) {
        QCOMPARE(wait->count(), 16);
        QCOMPARE(wait->itemText(0), QStringLiteral("1 Min."));
        QCOMPARE(wait->itemText(15), QStringLiteral("16 Min."));
    }
    QCOMPARE(p->ComboBoxLang->count(), 3);
    QCOMPARE(p->ComboBoxLang->itemText(2), QStringLiteral("SentryBeacon"));
    QCOMPARE(p->ComboBoxIncomungCallAction->count(), 4);
    QCOMPARE(p->ComboBoxTransportPriority->count(), 3);
    QCOMPARE(p->ComboBoxICToOUOutN->count(), 7);
    QCOMPARE(p->ComboBoxICToOUScnN->count(), 17);
    QCOMPARE(p->ComboBoxConnectionType->itemText(2), QStringLiteral("Голосовое SB"));

    // The voice sources in child order, with their captions, groups and visibility.
    const struct {
        const char *name;
        const char16_t *caption;
        int tag;
        bool shown;
    } sources[] = {
        {"CheckBoxMaskDInput1", u"Вх.1", 4, true},        {"CheckBoxMaskDInput2", u"Вх.2", 4, true},
        {"CheckBoxMaskDInput4", u"Вх.4", 4, true},        {"CheckBoxMaskDInput3", u"Вх.3", 4, true},
        {"CheckBoxMaskDDisarm", u"НАБЛЮДЕНИЕ", 2, true},  {"CheckBoxMaskDPower", u"Системные события", 4, true},
        {"CheckBoxMaskDArm", u"ОХРАНА", 1, true},         {"CheckBoxMaskDTest", u"Тестовое / инфо. сообщения", 4, true},
        {"CheckBoxMaskDInput5", u"Вх.5", 4, false},       {"CheckBoxMaskDInput8", u"Вх.8", 4, false},
        {"CheckBoxMaskCRestrictedArm", u"ЗАЩИТА", 3, false}, {"CheckBoxMaskDArm2", u"ОХРАНА 2", 5, false},
        {"CheckBoxMaskDDisarm2", u"НАБЛЮДЕНИЕ 2", 6, false}, {"CheckBoxMaskDArm4", u"ОХРАНА 4", 9, false},
        {"CheckBoxMaskDDisarm4", u"НАБЛЮДЕНИЕ 4", 10, false}, {"CheckBoxMaskDGPS", u"GPS", 0, false},
        {"CheckBoxMaskDInput9", u"Вх.9", 4, false},       {"CheckBoxMaskDInput16", u"Вх.16", 4, false},
    };
    const auto children = p->GroupBoxConDial->findChildren<QCheckBox *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 28);
    QCOMPARE(children[4]->objectName(), QStringLiteral("CheckBoxMaskDDisarm"));
    QCOMPARE(children[19]->objectName(), QStringLiteral("CheckBoxMaskDGPS"));
    for (const auto &s : sources) {
        auto *box = f.Control<QCheckBox>(QLatin1String(s.name));
        QVERIFY2(box != nullptr && box->parent() == p->GroupBoxConDial, s.name);
        QCOMPARE(box->text(), QString::fromUtf16(s.caption));
        QCOMPARE(box->property("Tag").toInt(), s.tag);
        QCOMPARE(!box->isHidden(), s.shown);
        const QString sms = QString::fromLatin1(s.name).replace(QStringLiteral("MaskD"), QStringLiteral("MaskS"))
                                .replace(QStringLiteral("MaskC"), QStringLiteral("MaskS"));
        auto *smsBox = f.Control<QCheckBox>(sms);
        QVERIFY2(smsBox != nullptr && smsBox->parent() == p->GroupBoxConSMS, qPrintable(sms));
        QCOMPARE(!smsBox->isHidden(), s.shown);
    }
    for (const char *name : {"Label75", "Label161", "Label85", "Label32", "GroupBoxInCallToOutsAction",
                             "GroupBoxConSharD", "CheckBoxCallEn", "Label81", "CheckBoxNotACK", "Label77",
                             "GroupBoxConDial", "LabelProtocolAlias", "Label67", "ComboBoxUserId", "CheckBoxDebugMode",
                             "CheckBoxSMSEn", "Label78", "GroupBoxConSMS", "CheckBoxJointUse", "ComboBoxGroupNum"})
        QVERIFY2(f.form.findChild<QWidget *>(QLatin1String(name)) != nullptr, name);
    QCOMPARE(p->GroupBoxConDial->title(), QStringLiteral(" Передавать сообщения от следующих источников "));
}

// On screen, column by column from the top: the inputs, then the modes, the
// system events and the test messages, in both groups; the Tab key follows.
void TestPageConnection::sourcesReadInOrder()
{
    GeneralPagesFixture f;
    f.form.show();
    f.Open(Pages::FirstConnection);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    const char *const reading[] = {"Input1", "Input2", "Input3", "Input4", "Arm", "Disarm", "Power", "Test"};
    for (const char *kind : {"D", "S"}) {
        QList<QCheckBox *> boxes;
        for (const char *name : reading)
            boxes << f.Control<QCheckBox>(QStringLiteral("CheckBoxMask") + QLatin1String(kind) + QLatin1String(name));
        for (int i = 0; i < boxes.size(); ++i) {
            const QCheckBox *box = boxes[i];
            QVERIFY2(box->isVisible(), qPrintable(box->objectName()));
            if (i % 4 != 0) { // below the one before, in the same column
                QCOMPARE(box->x(), boxes[i - 1]->x());
                QVERIFY2(box->y() > boxes[i - 1]->y(), qPrintable(box->objectName()));
            } else if (i > 0) { // a new column, right of the one before, from the top
                QVERIFY2(box->x() > boxes[i - 4]->x() + boxes[i - 4]->width() / 2, qPrintable(box->objectName()));
                QCOMPARE(box->y(), boxes[i - 4]->y());
            }
            if (i > 0)
                QCOMPARE(boxes[i - 1]->nextInFocusChain(), box);
        }
    }
}

void TestPageConnection::entryAdaptations()
{
    GeneralPagesFixture f;
    PageConnection *p = f.connection;
    QVERIFY(p->ComboBoxConnectionType->isHidden());
    QVERIFY(p->CheckBoxJointUse->isHidden());
    f.Open(Pages::FirstConnection + 2);
    f.Open(Pages::FirstConnection + 3);
    QCOMPARE(p->Label74->text(), QStringLiteral("Соединение 4"));
    QVERIFY(!p->LabelConnType->isHidden());
    QVERIFY(!p->ComboBoxConnectionType->isHidden());
    QVERIFY(!p->CheckBoxJointUse->isHidden());
    for (QWidget *w : std::initializer_list<QWidget *>{p->Label161, p->ComboBoxGroupNum, p->CheckBoxNotACK, p->Label67,
                                                       p->ComboBoxUserId, p->CheckBoxDebugMode, p->ComboBoxTransportPriority})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    QCOMPARE(p->GroupBoxConSharD->title(), QStringLiteral(" Голосовое оповещение или вызов типа DATA "));
    QCOMPARE(p->LabelProtocolAlias->text(), QStringLiteral("Протокол обмена"));
    QCOMPARE(p->ComboBoxIncomungCallAction->count(), 3);
    QCOMPARE(p->ComboBoxIncomungCallAction->itemText(2), QStringLiteral("Отбить (DTMF управление невозможно)"));
}

void TestPageConnection::roundTrip_data()
{
    QTest::addColumn<bool>("varied");
    QTest::newRow("defaults") << false;
    QTest::newRow("varied records") << true;
}

// Each of the eight records comes back as it was, but for the bits of the
// inputs this page does not edit.
void TestPageConnection::roundTrip()
{
    QFETCH(bool, varied);
    GeneralPagesFixture f;
    if (varied)
        for (int index = 0; index < R::Count; ++index)
            VaryRecord(f.config.ConfigImage, index);
    const ConfigImage want = WithoutHighInputs(f.config.ConfigImage);
    for (int page = Pages::FirstConnection; page < Pages::FirstConnection + Pages::ConnectionCount; ++page) {
        f.Open(page);
        f.Store(page);
    }
    const QByteArray diff = Differences(f.config.ConfigImage, want);
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestPageConnection::switchingRecords()
{
    GeneralPagesFixture f;
    Record(f.config, 6).Set(R::Phone, u"+70000000005");
    Record(f.config, 6).Set(R::CallEn, 1);
    const ConfigImage before = f.config.ConfigImage;
    f.Open(Pages::FirstConnection + 2);
    f.connection->MaskEditPhone->setText(QStringLiteral("+73333"));
    f.connection->CheckBoxSMSEn->setChecked(true);
    f.Store(Pages::FirstConnection + 2);
    f.Open(Pages::FirstConnection + 4);
    QCOMPARE(f.connection->MaskEditPhone->text(), QStringLiteral("+70000000005"));
    QVERIFY(f.connection->CheckBoxCallEn->isChecked());
    QVERIFY(!f.connection->CheckBoxSMSEn->isChecked());
    QCOMPARE(Record(f.config, 4).Get(R::Phone), QStringLiteral("+73333"));
    QCOMPARE(Record(f.config, 4).Get(R::SMSEn), 1u);
    ConfigImage want = before;
    RecordView<R>(want, 2).Set(R::Phone, u"+73333");
    RecordView<R>(want, 2).Set(R::SMSEn, 1);
    const QByteArray diff = Differences(f.config.ConfigImage, want);
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestPageConnection::phoneWithoutBlanks()
{
    GeneralPagesFixture f;
    f.Open(Pages::FirstConnection);
    const quint8 after = f.config.ConfigImage[R::Base + 16];
    f.connection->MaskEditPhone->setText(QStringLiteral("8 916 123 45 67"));
    f.Store(Pages::FirstConnection);
    const QByteArray field(reinterpret_cast<const char *>(f.config.ConfigImage.data()) + R::Base, 16);
    QCOMPARE(field, QByteArray("89161234567") + QByteArray(5, '\0'));
    QCOMPARE(f.config.ConfigImage[R::Base + 16], after);
}

void TestPageConnection::threeStateInputs()
{
    GeneralPagesFixture f;
    f.Open(Pages::FirstConnection + 1);
    PageConnection *p = f.connection;
    p->MaskD.Input[0]->setCheckState(Qt::PartiallyChecked);
    p->MaskD.Input[1]->setCheckState(Qt::Checked);
    p->MaskS.Input[2]->setCheckState(Qt::Checked);
    f.Store(Pages::FirstConnection + 1);
    const FieldView r = Record(f.config, 3);
    QCOMPARE(r.Get(R::Voice.MaskInput.any), 0x0003u);
    QCOMPARE(r.Get(R::Voice.MaskInput.checked), 0x0002u);
    QCOMPARE(r.Get(R::Sms.MaskInput.any), 0x0004u);
    QCOMPARE(r.Get(R::Sms.MaskInput.checked), 0x0004u);

    // A bit in the second word alone shows checked and goes back into both.
    r.Set(R::Voice.MaskInput.any, 0x0001);
    r.Set(R::Voice.MaskInput.checked, 0x0082);
    f.Open(Pages::FirstConnection + 1);
    QCOMPARE(p->MaskD.Input[0]->checkState(), Qt::PartiallyChecked);
    QCOMPARE(p->MaskD.Input[1]->checkState(), Qt::Checked);
    QCOMPARE(p->MaskD.Input[7]->checkState(), Qt::Checked);
    QCOMPARE(p->MaskD.Input[2]->checkState(), Qt::Unchecked);
    f.Store(Pages::FirstConnection + 1);
    QCOMPARE(r.Get(R::Voice.MaskInput.any), 0x0083u);
    QCOMPARE(r.Get(R::Voice.MaskInput.checked), 0x0082u);
}

void TestPageConnection::indexBeyondItems_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<quint32>("storedAgain");
    // fieldIndex: 0 incoming call, 1 reaction, 2 output, 3 duration, 4 language
    QTest::newRow("incoming call: deleted item") << "ComboBoxIncomungCallAction" << 0 << 3u << 3u;
    QTest::newRow("reaction beyond the 17 items") << "ComboBoxICToOUScnN" << 1 << 20u << 31u;
    QTest::newRow("output beyond the 7 items") << "ComboBoxICToOUOutN" << 2 << 7u << 7u;
    QTest::newRow("duration beyond the 62 items") << "ComboBoxOnLineTime" << 3 << 62u << 63u;
    QTest::newRow("language beyond the 3 items") << "ComboBoxLang" << 4 << 3u << 3u;
}

void TestPageConnection::indexBeyondItems()
{
    QFETCH(QString, combo);
    QFETCH(int, fieldIndex);
    QFETCH(quint32, stored);
    QFETCH(quint32, storedAgain);
    const UField fields[] = {R::IncomungCallAction, R::ICToOUScnN, R::ICToOUOutN, R::OnLineTime, R::Lang};
    GeneralPagesFixture f;
    Record(f.config, 9).Set(fields[fieldIndex], stored);
    f.Open(Pages::FirstConnection + 7);
    QCOMPARE(f.Control<QComboBox>(combo)->currentIndex(), -1);
    f.Store(Pages::FirstConnection + 7);
    QCOMPARE(Record(f.config, 9).Get(fields[fieldIndex]), storedAgain);
}

void TestPageConnection::incomingCallHint()
{
    GeneralPagesFixture f;
    QComboBox *call = f.connection->ComboBoxIncomungCallAction;
    Record(f.config, 2).Set(R::IncomungCallAction, 1);
    f.Open(Pages::FirstConnection);
    QCOMPARE(call->toolTip(), call->itemText(1));
    call->setCurrentIndex(2);
    QCOMPARE(call->toolTip(), QStringLiteral("Отбить (DTMF управление невозможно)"));
    Record(f.config, 3).Set(R::IncomungCallAction, 3);
    f.Open(Pages::FirstConnection + 1);
    QCOMPARE(call->toolTip(), QString());
}

// Connection type "Голосовое SB": a user's click leaves only the clicked box's group checked.
void TestPageConnection::exclusiveSourcesOnClick()
{
    GeneralPagesFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.Open(Pages::FirstConnection);
    PageConnection *p = f.connection;
    p->ComboBoxConnectionType->setCurrentIndex(2);
    for (QCheckBox *box : {p->MaskD.Input[0], p->MaskD.Input[1], p->MaskD.Disarm[0], p->MaskD.Power, p->MaskD.Test,
                           p->MaskD.Arm[1]})
        box->setChecked(true);
    p->MaskS.Input[0]->setChecked(true);

    ClickButton(p->MaskD.Arm[0]);
    QVERIFY(p->MaskD.Arm[0]->isChecked());
    for (QCheckBox *box : {p->MaskD.Input[0], p->MaskD.Input[1], p->MaskD.Disarm[0], p->MaskD.Power, p->MaskD.Test,
                           p->MaskD.Arm[1]})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    QVERIFY(p->MaskS.Input[0]->isChecked()); // the SMS sources are free

    p->MaskD.Input[0]->setChecked(true);
    p->MaskD.Power->setChecked(true);
    ClickButton(p->MaskD.Input[1]);
    QVERIFY(!p->MaskD.Arm[0]->isChecked());
    QVERIFY(p->MaskD.Input[0]->isChecked());
    QVERIFY(p->MaskD.Power->isChecked());
    QVERIFY(p->MaskD.Input[1]->checkState() != Qt::Unchecked);

    // Unchecking a box by a click applies the rule too.
    p->MaskD.Arm[0]->setChecked(true);
    p->MaskD.Input[1]->setChecked(true);
    ClickButton(p->MaskD.Input[1]);
    QVERIFY(!p->MaskD.Arm[0]->isChecked());
}

void TestPageConnection::noExclusivityWithoutSentryBeacon()
{
    GeneralPagesFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.Open(Pages::FirstConnection);
    PageConnection *p = f.connection;
    for (int type : {0, 1}) {
        p->ComboBoxConnectionType->setCurrentIndex(type);
        p->MaskD.Disarm[0]->setChecked(true);
        p->MaskD.Input[0]->setChecked(true);
        ClickButton(p->MaskD.Arm[0]);
        QVERIFY(p->MaskD.Arm[0]->isChecked());
        QVERIFY(p->MaskD.Disarm[0]->isChecked());
        QVERIFY(p->MaskD.Input[0]->isChecked());
        QVERIFY(!p->CheckBoxNotACK->isChecked());
        p->MaskD.Arm[0]->setChecked(false);
    }
}

// Filling the page is no click, even while a source box has the focus.
void TestPageConnection::fillAppliesNoExclusivity()
{
    GeneralPagesFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    const FieldView r = Record(f.config, 5);
    r.Set(R::ConnectionType, 2);
    r.Set(R::Voice.Arm(0), 1);
    r.Set(R::Voice.Disarm(0), 1);
    r.Set(R::Voice.MaskInput.any, 0x1);
    r.Set(R::Voice.MaskInput.checked, 0x1);
    f.Open(Pages::FirstConnection);
    PageConnection *p = f.connection;
    p->ComboBoxConnectionType->setCurrentIndex(2);
    ClickButton(p->MaskD.Arm[0]);
    QVERIFY(p->MaskD.Arm[0]->hasFocus());
    f.Open(Pages::FirstConnection + 3);
    QVERIFY(p->MaskD.Arm[0]->isChecked());
    QVERIFY(p->MaskD.Disarm[0]->isChecked());
    QCOMPARE(p->MaskD.Input[0]->checkState(), Qt::Checked);
    QVERIFY(!p->CheckBoxNotACK->isChecked()); // showing the type runs no handler
    const ConfigImage before = f.config.ConfigImage;
    f.Store(Pages::FirstConnection + 3);
    QVERIFY(Differences(f.config.ConfigImage, before).isEmpty());
}

void TestPageConnection::typeChangeKeepsFirstGroup_data()
{
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("unchecked");
    QTest::newRow("input 1 comes before ОХРАНА")
        << QStringList{"CheckBoxMaskDInput1", "CheckBoxMaskDArm", "CheckBoxMaskDPower"}
        << QStringList{"CheckBoxMaskDInput1", "CheckBoxMaskDPower"} << QStringList{"CheckBoxMaskDArm"};
    QTest::newRow("НАБЛЮДЕНИЕ comes before ОХРАНА")
        << QStringList{"CheckBoxMaskDArm", "CheckBoxMaskDDisarm", "CheckBoxMaskDGPS"}
        << QStringList{"CheckBoxMaskDDisarm"} << QStringList{"CheckBoxMaskDArm", "CheckBoxMaskDGPS"};
    QTest::newRow("a hidden box of the configuration")
        << QStringList{"CheckBoxMaskDArm2", "CheckBoxMaskDInput9"} << QStringList{"CheckBoxMaskDArm2"}
        << QStringList{"CheckBoxMaskDInput9"};
    QTest::newRow("nothing checked") << QStringList{} << QStringList{} << QStringList{};
}

void TestPageConnection::typeChangeKeepsFirstGroup()
{
    QFETCH(QStringList, checked);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, unchecked);
    GeneralPagesFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.Open(Pages::FirstConnection);
    for (const QString &name : checked)
        f.Control<QCheckBox>(name)->setChecked(true);
    f.connection->ComboBoxConnectionType->setCurrentIndex(2);
    for (const QString &name : kept)
        QVERIFY2(f.Control<QCheckBox>(name)->isChecked(), qPrintable(name));
    for (const QString &name : unchecked)
        QVERIFY2(!f.Control<QCheckBox>(name)->isChecked(), qPrintable(name));
    QVERIFY(f.connection->CheckBoxNotACK->isChecked());
    if (!kept.isEmpty() && f.Control<QCheckBox>(kept.first())->isVisible())
        QVERIFY(f.Control<QCheckBox>(kept.first())->hasFocus());
}

QTEST_MAIN(TestPageConnection)
#include "tst_page_connection.moc"
