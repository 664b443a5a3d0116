#include "configurator/pages/PageArmIn.h"
#include "tests/configurator/PageFixture.h"
#include "toolkit/widgets/StringGrid.h"
#include "configurator/pages/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>

class TstPageArmIn : public OnePageTest<PageArmIn, Pages::ArmIn> {
    Q_OBJECT
private slots:
    void namedControls_data();
    void namedControls();
    void keyTableAsBuilt();
    void enteringKeepsThisModelsChoices();
    void defaultImageSurvivesShowAndStore();
    void variedImageSurvivesShowAndStore();
    void storeWritesTheControls();
    void keyCodes_data();
    void keyCodes();
    void showingAKeyRow();
    void indexesWithoutAnItemStoreNoSelection();
    void learningKeys();
    void draggedRowsAreRenumbered();
    void editMasksAndEditing();
    void delayEdit_data();
    void delayEdit();
    void upDownArrowsStepTheDelay();
    void keyReadMark();
};

void TstPageArmIn::namedControls_data()
{
    AddControlColumns();
    const auto row = AddControlRow;
    row(QStringLiteral("PanelArmIn"), "QFrame");
    for (const char *name : {"GroupBox11", "GroupBoxProtectModeLink", "GroupBox4", "GroupBox5", "GroupBox7",
                             "GroupBox43"})
        row(QLatin1String(name), "QGroupBox");
    for (const char *name :
         {"Label21", "Label25", "Label163", "LabelTouchActionDiscription", "Label29", "Label9", "Label53", "Label58",
          "Label59", "Label60", "Label61", "Label13", "Label11", "Label43", "Label44", "Label45", "Label46", "Label47",
          "Label154", "Label153", "Label155", "Label156", "Label158", "Label159", "Label160", "Label20", "Label18",
          "Label62", "Label63", "Label64", "Label65", "Label71"})
        row(QLatin1String(name), "QLabel");
    for (const char *kind : {"CDto", "ArmTo", "DisarmTo", "RAto"}) {
        for (int n = 1; n <= 7; ++n)
            row(QStringLiteral("ComboBox%1Rele%2").arg(QLatin1String(kind)).arg(n), "QComboBox");
        row(QStringLiteral("ComboBox%1Profile").arg(QLatin1String(kind)), "QComboBox");
    }
    row(QStringLiteral("ComboBoxArmInMode"), "QComboBox");
    for (int n = 1; n <= 16; ++n)
        row(QStringLiteral("CheckBoxRestrArmMode%1").arg(n), "QCheckBox");
    row(QStringLiteral("StringGrid1"), "TStringGrid");
    row(QStringLiteral("EditDelayARM"), "QLineEdit");
    row(QStringLiteral("UpDownDelayARM"), "TUpDown");
}

void TstPageArmIn::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    VerifyNamedControl(context_->Form(), name, kind);
}

void TstPageArmIn::keyTableAsBuilt()
{
    TStringGrid *grid = page_->StringGrid1;
    QCOMPARE(grid->ColCount(), 3);
    QCOMPARE(grid->RowCount(), 33);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral("№"));
    QCOMPARE(grid->Cell(1, 0), QStringLiteral("Код ключа TOUCH"));
    QCOMPARE(grid->Cell(2, 0), QStringLiteral("Имя пользователя"));
    QCOMPARE(grid->Cell(0, 1), QStringLiteral(" 1"));
    QCOMPARE(grid->Cell(0, 32), QStringLiteral(" 32"));
    QCOMPARE(FreeKeyCode, QString(16, QLatin1Char(' ')));
    // Reaction rows carry the output names.
    QCOMPARE(page_->CDtoLabels[0]->text(), QStringLiteral("Реле 1"));
    QCOMPARE(page_->DisarmToLabels[4]->text(), QStringLiteral("Выход 3"));
    QCOMPARE(page_->ComboBoxArmToRele[0]->count(), 17);
    QCOMPARE(page_->ComboBoxArmToRele[0]->itemText(16), QStringLiteral("сценарий 14"));
}

void TstPageArmIn::enteringKeepsThisModelsChoices()
{
    page_->LabelTouchActionDiscription->setText(QStringLiteral("old"));
    page_->Enter(Pages::ArmIn);
    QCOMPARE(page_->Label21->text(), QStringLiteral("Вход [Arm In]"));
    QCOMPARE(page_->ComboBoxArmInMode->count(), 3);
    QCOMPARE(page_->ComboBoxArmInMode->itemText(2), QStringLiteral("Смена режима ОХРАНА/НАБЛЮДЕНИЕ - TouchMemory"));
    for (QComboBox *profile : {page_->ComboBoxCDtoProfile, page_->ComboBoxArmToProfile, page_->ComboBoxDisarmToProfile}) {
        QCOMPARE(profile->count(), 5);
        QCOMPARE(profile->itemText(4), QStringLiteral("Применить профиль 4"));
    }
    QCOMPARE(page_->ComboBoxRAtoProfile->count(), 9);
    for (const char *name : {"ComboBoxCDtoRele5", "ComboBoxArmToRele5", "ComboBoxDisarmToRele5", "Label59", "Label45",
                             "Label64", "ComboBoxCDtoRele6", "ComboBoxArmToRele7", "GroupBox43",
                             "GroupBoxProtectModeLink"})
        QVERIFY2(Control<QWidget>(*context_, QLatin1String(name))->isHidden(), name);
    for (const char *name : {"ComboBoxCDtoRele4", "Label58", "GroupBox4", "GroupBox5", "GroupBox7", "StringGrid1"})
        QVERIFY2(!Control<QWidget>(*context_, QLatin1String(name))->isHidden(), name);
    QVERIFY(page_->LabelTouchActionDiscription->text().isEmpty());
}

void TstPageArmIn::defaultImageSurvivesShowAndStore()
{
    ControllerConfig config = DefaultConfig();
    const ControllerConfig before = config;
    page_->ShowPage(Pages::ArmIn, config);
    page_->AfterShow(Pages::ArmIn);
    page_->StorePage(Pages::ArmIn, config);
    QVERIFY2(config.ConfigImage == before.ConfigImage, qPrintable(Differences(before.ConfigImage, config.ConfigImage)));
    QCOMPARE(page_->StringGrid1->Cell(1, 1), FreeKeyCode);
    QCOMPARE(page_->EditDelayARM->text(), QStringLiteral("0"));
}

void TstPageArmIn::variedImageSurvivesShowAndStore()
{
    ControllerConfig config = DefaultConfig();
    FillPattern(config.ConfigImage, 12);
    const FieldView perimeter = RecordView<PerimeterRecord>(config.ConfigImage, 0);
    perimeter.Set(PerimeterRecord::DelayARM, 237);
    perimeter.Set(PerimeterRecord::ArmInMode, 2);
    for (int n = 0; n < OutputCount; ++n) {
        perimeter.Set(PerimeterRecord::ArmToRele(n), (3 * n + 1) % 17);
        perimeter.Set(PerimeterRecord::DisarmToRele(n), (5 * n + 2) % 17);
        perimeter.Set(PerimeterRecord::CDtoRele(n), 16 - n);
        perimeter.Set(PerimeterRecord::RAtoRele(n), n + 9);
    }
    perimeter.Set(PerimeterRecord::ArmToProfile, 4);
    perimeter.Set(PerimeterRecord::DisarmToProfile, 1);
    perimeter.Set(PerimeterRecord::CDtoProfile, 3);
    perimeter.Set(PerimeterRecord::RAtoProfile, 8);
    for (int i = 0; i < TouchKeyRecord::Count; ++i) {
        const FieldView key = RecordView<TouchKeyRecord>(config.ConfigImage, i);
        // Odd rows free (their names empty), even rows with a code and a name.
        key.Set(TouchKeyRecord::Code, i % 2 ? 0 : 0x0123456789ABCDEFull * quint64(i + 1));
        key.Set(TouchKeyRecord::Name, i % 2 ? QString() : QStringLiteral("Ключ %1 Иванов").arg(i + 1));
    }
    const ControllerConfig before = config;
    page_->ShowPage(Pages::ArmIn, config);
    page_->StorePage(Pages::ArmIn, config);
    QVERIFY2(config.ConfigImage == before.ConfigImage, qPrintable(Differences(before.ConfigImage, config.ConfigImage)));
    QCOMPARE(page_->UpDownDelayARM->Position(), 237);
    QCOMPARE(page_->ComboBoxRAtoProfile->currentIndex(), 8);
    QCOMPARE(page_->StringGrid1->Cell(2, 3), QStringLiteral("Ключ 3 Иванов"));
}

void TstPageArmIn::storeWritesTheControls()
{
    ControllerConfig config = DefaultConfig();
    page_->ShowPage(Pages::ArmIn, config);
    page_->EditDelayARM->setText(QStringLiteral("45"));
    page_->ComboBoxArmInMode->setCurrentIndex(1);
    page_->ComboBoxCDtoRele[1]->setCurrentIndex(5);
    page_->ComboBoxArmToRele[0]->setCurrentIndex(16);
    page_->ComboBoxDisarmToRele[3]->setCurrentIndex(2);
    page_->ComboBoxRAtoRele[6]->setCurrentIndex(1);
    page_->ComboBoxArmToProfile->setCurrentIndex(3);
    page_->CheckBoxRestrArmMode[0]->setChecked(true);
    page_->CheckBoxRestrArmMode[7]->setChecked(true);
    page_->CheckBoxRestrArmMode[8]->setChecked(true); // input 9 is not stored
    page_->StorePage(Pages::ArmIn, config);
    const ConfigImage &image = config.ConfigImage;
    QCOMPARE(image[3104], quint8(45));
    QCOMPARE(image[3105], quint8(1));
    QCOMPARE(image[3121], quint8(5));  // countdown, relay 2
    QCOMPARE(image[3106], quint8(16)); // arm, relay 1
    QCOMPARE(image[3116], quint8(2));  // disarm, output 2
    QCOMPARE(image[3133], quint8(1));  // protection, output 5
    QCOMPARE(image[3134], quint8(3));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(RecordView<InputRecord>(image, i).Get(InputRecord::RestrArmMode), quint32(i == 0 || i == 7));
    QCOMPARE(image[415] & 1, 1);
    QCOMPARE(image[1059] & 1, 1);
}

void TstPageArmIn::keyCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("sixteen digits") << "2F0000001C8E5A01" << QByteArray::fromHex("2F0000001C8E5A01");
    QTest::newRow("free row") << FreeKeyCode << QByteArray(8, '\0');
    QTest::newRow("short code right-aligned") << "1C8E            " << QByteArray::fromHex("0000000000001C8E");
    QTest::newRow("one digit") << "       A        " << QByteArray::fromHex("000000000000000A");
    QTest::newRow("all ones") << "FFFFFFFFFFFFFFFF" << QByteArray::fromHex("FFFFFFFFFFFFFFFF");
    QTest::newRow("lower case") << "abcdef0123456789" << QByteArray::fromHex("ABCDEF0123456789");
    QTest::newRow("not hex") << "KEY1            " << QByteArray(8, '\0');
    QTest::newRow("inner blank") << "12 34           " << QByteArray(8, '\0');
    QTest::newRow("seventeen digits") << "12345678901234567" << QByteArray(8, '\0');
    QTest::newRow("own prefix") << "0x12" << QByteArray(8, '\0');
    QTest::newRow("sign") << "-1" << QByteArray(8, '\0');
    QTest::newRow("empty") << "" << QByteArray(8, '\0');
}

void TstPageArmIn::keyCodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    ControllerConfig config = DefaultConfig();
    page_->ShowPage(Pages::ArmIn, config);
    page_->StringGrid1->SetCell(1, 5, text);
    page_->StringGrid1->SetCell(2, 5, QStringLiteral("Петров"));
    page_->StorePage(Pages::ArmIn, config);
    const int base = TouchKeyRecord::Base + 4 * TouchKeyRecord::Size;
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&config.ConfigImage[base]), 8), bytes);
    QCOMPARE(RecordView<TouchKeyRecord>(config.ConfigImage, 4).Get(TouchKeyRecord::Name), QStringLiteral("Петров"));
}

void TstPageArmIn::showingAKeyRow()
{
    ControllerConfig config = DefaultConfig();
    const FieldView key = RecordView<TouchKeyRecord>(config.ConfigImage, 1);
    key.Set(TouchKeyRecord::Code, 0x2F0000001C8E5A01ull);
    // A name that fills its field without a terminator is cut, and the field
    // gets its terminator.
    std::span<quint8> name = key.Bytes(TouchKeyRecord::Name);
    std::fill(name.begin(), name.end(), quint8('N'));
    key.bytes()[25] = 0x77; // beyond the name: untouched
    // A free row shows empty even with a name stored.
    RecordView<TouchKeyRecord>(config.ConfigImage, 2).Set(TouchKeyRecord::Name, QStringLiteral("забытый"));
    page_->ShowPage(Pages::ArmIn, config);
    QCOMPARE(page_->StringGrid1->Cell(1, 2), QStringLiteral("2F0000001C8E5A01"));
    QCOMPARE(page_->StringGrid1->Cell(2, 2), QString(16, QLatin1Char('N')));
    QCOMPARE(name[16], quint8(0));
    QCOMPARE(key.bytes()[25], quint8(0x77));
    QCOMPARE(page_->StringGrid1->Cell(1, 3), FreeKeyCode);
    QVERIFY(page_->StringGrid1->Cell(2, 3).isEmpty());
    page_->StorePage(Pages::ArmIn, config);
    QCOMPARE(RecordView<TouchKeyRecord>(config.ConfigImage, 2).Get(TouchKeyRecord::Name), QString());
}

void TstPageArmIn::indexesWithoutAnItemStoreNoSelection()
{
    ControllerConfig config = DefaultConfig();
    const FieldView perimeter = RecordView<PerimeterRecord>(config.ConfigImage, 0);
    perimeter.Set(PerimeterRecord::ArmInMode, 3);    // not offered by this controller
    perimeter.Set(PerimeterRecord::ArmToProfile, 5); // likewise
    perimeter.Set(PerimeterRecord::CDtoRele(2), 17);
    perimeter.Set(PerimeterRecord::DelayARM, 250);
    page_->ShowPage(Pages::ArmIn, config);
    QCOMPARE(page_->ComboBoxArmInMode->currentIndex(), -1);
    QCOMPARE(page_->ComboBoxArmToProfile->currentIndex(), -1);
    QCOMPARE(page_->ComboBoxCDtoRele[2]->currentIndex(), -1);
    QCOMPARE(page_->UpDownDelayARM->Position(), 240);
    page_->StorePage(Pages::ArmIn, config);
    QCOMPARE(perimeter.Get(PerimeterRecord::ArmInMode), 255u);
    QCOMPARE(perimeter.Get(PerimeterRecord::ArmToProfile), 255u);
    QCOMPARE(perimeter.Get(PerimeterRecord::CDtoRele(2)), 255u);
    QCOMPARE(perimeter.Get(PerimeterRecord::DelayARM), 240u);
}

void TstPageArmIn::learningKeys()
{
    ControllerConfig config = DefaultConfig();
    page_->ShowPage(Pages::ArmIn, config);
    TStringGrid *grid = page_->StringGrid1;
    const QString a = QStringLiteral("0000000000000A01"), b = QStringLiteral("0000000000000B02");

    // Rows 1 and 3 taken, row 2 free: a new key lands in row 2.
    grid->SetCell(1, 1, a);
    grid->SetCell(1, 3, QStringLiteral("0000000000000C03"));
    page_->LabelTouchActionDiscription->setText(QStringLiteral("old"));
    page_->LearnTouchKey(b);
    QCOMPARE(grid->Cell(1, 2), b);
    QCOMPARE(grid->Cell(2, 2), QStringLiteral("KEY2"));
    QVERIFY(page_->LabelTouchActionDiscription->text().isEmpty());

    // A key the table knows (row 7) is reported even with row 4 free.
    grid->SetCell(1, 7, QStringLiteral("00000000000007AA"));
    context_->texts.KeyKnownPrefix = QStringLiteral("Known ");
    page_->LearnTouchKey(QStringLiteral("00000000000007AA"));
    QCOMPARE(page_->LabelTouchActionDiscription->text(),
             QStringLiteral("Known 00000000000007AA") + context_->texts.KeyKnownSuffix);
    QCOMPARE(grid->Cell(1, 4), FreeKeyCode);

    // A full table takes nothing.
    for (int row = 1; row <= 32; ++row)
        grid->SetCell(1, row, QStringLiteral("%1").arg(row, 16, 16, QLatin1Char('0')));
    page_->LearnTouchKey(QStringLiteral("FFFFFFFFFFFFFFFF"));
    QCOMPARE(page_->LabelTouchActionDiscription->text(), QStringLiteral("Вся память использована"));
    for (int row = 1; row <= 32; ++row)
        QCOMPARE(grid->Cell(1, row), QStringLiteral("%1").arg(row, 16, 16, QLatin1Char('0')));

    // A learnt key reaches the image with the page.
    grid->SetCell(1, 32, FreeKeyCode);
    page_->LearnTouchKey(QStringLiteral("2F0000001C8E5A01"));
    page_->StorePage(Pages::ArmIn, config);
    const FieldView last = RecordView<TouchKeyRecord>(config.ConfigImage, 31);
    QCOMPARE(last.Get(TouchKeyRecord::Code), 0x2F0000001C8E5A01ull);
    QCOMPARE(last.Get(TouchKeyRecord::Name), QStringLiteral("KEY32"));
}

void TstPageArmIn::draggedRowsAreRenumbered()
{
    TStringGrid *grid = page_->StringGrid1;
    grid->SetCell(1, 5, QStringLiteral("0000000000000005"));
    grid->SetCell(1, 2, QStringLiteral("0000000000000002"));
    grid->verticalHeader()->moveSection(4, 1); // row 5 dragged to row 2
    for (int row = 1; row <= 32; ++row)
        QCOMPARE(grid->Cell(0, row), QString::number(row));
    QCOMPARE(grid->Cell(1, 2), QStringLiteral("0000000000000005"));
    QCOMPARE(grid->Cell(1, 3), QStringLiteral("0000000000000002"));
    // The order on screen is the order stored.
    ControllerConfig config = DefaultConfig();
    page_->StorePage(Pages::ArmIn, config);
    QCOMPARE(RecordView<TouchKeyRecord>(config.ConfigImage, 1).Get(TouchKeyRecord::Code), 5ull);
    QCOMPARE(RecordView<TouchKeyRecord>(config.ConfigImage, 2).Get(TouchKeyRecord::Code), 2ull);
}

void TstPageArmIn::editMasksAndEditing()
{
    QCOMPARE(page_->StringGrid1GetEditMask(1, 3), QStringLiteral("!>aaaaaaaaaaaaaaaa;1; "));
    QCOMPARE(page_->StringGrid1GetEditMask(2, 3), QStringLiteral("aaaaaaaaaaaaaaaa;0; "));
    QVERIFY(page_->StringGrid1GetEditMask(0, 3).isEmpty());
    page_->StringGrid1->SetCurrentCell(2, 4);
    QVERIFY(page_->StringGrid1->Editing());
    page_->StringGrid1SelectCell(0, 4);
    QVERIFY(!page_->StringGrid1->Editing());
    page_->StringGrid1SelectCell(1, 4);
    QVERIFY(page_->StringGrid1->Editing());
}

void TstPageArmIn::delayEdit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::newRow("number") << "45" << 45;
    QTest::newRow("leading number") << "1ab" << 1;
    QTest::newRow("blanks") << "  7" << 7;
    QTest::newRow("above the range") << "300" << 240;
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TstPageArmIn::delayEdit()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    page_->UpDownDelayARM->SetPosition(100);
    page_->EditDelayARM->setText(text);
    QCOMPARE(page_->UpDownDelayARM->Position(), position);
    // What is being typed stays as typed (three characters at most).
    QCOMPARE(page_->EditDelayARM->text(), text);
    QCOMPARE(page_->EditDelayARM->maxLength(), 3);
    ControllerConfig config = DefaultConfig();
    page_->StorePage(Pages::ArmIn, config);
    QCOMPARE(int(config.ConfigImage[3104]), position);
}

void TstPageArmIn::upDownArrowsStepTheDelay()
{
    const QList<QToolButton *> arrows = page_->UpDownDelayARM->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    QToolButton *up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton *down = up == arrows[0] ? arrows[1] : arrows[0];
    page_->EditDelayARM->setText(QStringLiteral("239"));
    up->click();
    QCOMPARE(page_->UpDownDelayARM->Position(), 240);
    QCOMPARE(page_->EditDelayARM->text(), QStringLiteral("240"));
    up->click();
    QCOMPARE(page_->EditDelayARM->text(), QStringLiteral("240"));
    page_->EditDelayARM->setText(QStringLiteral("0"));
    down->click();
    QCOMPARE(page_->UpDownDelayARM->Position(), 0);
    QCOMPARE(page_->EditDelayARM->text(), QStringLiteral("0"));
}

void TstPageArmIn::keyReadMark()
{
    page_->MarkKeyRead(true);
    for (QLabel *label : {page_->Label21, page_->Label163}) {
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::Window), QColor(255, 0, 0));
    }
    page_->MarkKeyRead(false);
    for (QLabel *label : {page_->Label21, page_->Label163}) {
        QVERIFY(!label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::Window), page_->palette().color(QPalette::Window));
    }
}

QTEST_MAIN(TstPageArmIn)
#include "tst_page_armin.moc"
