// Page 10: clock, information message and task scheduler.
#include "tests/configurator/GeneralPagesFixture.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/widgets/StringGrid.h"

#include <QPushButton>
#include <QTest>

namespace {

using L = ScheduleLine;
using C = PageClock;

FieldView Line(ControllerConfig &config, int row)
{
    return RecordView<L>(config.ConfigImage, row - 1);
}

// Lines of every action kind the page shows, with noise in the bytes and
// bits it leaves alone; the clock and information fields at values of
// their own.
void VaryClockPage(ConfigImage &image)
{
    Scramble(image, ClockFields::TimeZone.offset, L::Base + L::Count * L::Size, 7);
    for (int row = 1; row <= L::Count; ++row) {
        const FieldView line = RecordView<L>(image, row - 1);
        const int kind = (row - 1) % 4;
        line.Set(L::Action, kind);
        if (kind == saOutputControl) {
            line.Set(L::ActionOutput, row % 4);
            line.Set(L::ActionReaction, row * 2);
        } else {
            line.Set(L::Parameter, row + 8);
        }
    }
    const FieldView v = View(image);
    v.Set(ClockFields::TimeZone, -7);
}

// What a store writes as 0 of those bits.
ConfigImage Cleared(ConfigImage image)
{
    for (int row = 0; row < L::Count; ++row)
        image[std::size_t(L::Base + row * L::Size)] &= 0x01;
    image[std::size_t(ClockFields::InfoR.offset)] &= 0x7F;
    return image;
}

} // namespace

class TestPageClock : public QObject {
    Q_OBJECT
private slots:
    void builtControls();
    void timeZoneItems();
    void roundTrip_data();
    void roundTrip();
    void storeScheduleLine();
    void showActionKinds_data();
    void showActionKinds();
    void actionChangeHidesReaction();
    void typedTimes_data();
    void typedTimes();
    void timeColumnEditing();
    void timeZoneBeyondItems();
    void informationMessage();
};

void TestPageClock::builtControls()
{
    GeneralPagesFixture f;
    PageClock *p = f.clock;
    QCOMPARE(p->objectName(), QStringLiteral("Panel2"));
    TStringGrid *grid = p->StringGrid3;
    QCOMPARE(grid->ColCount(), 14);
    QCOMPARE(grid->RowCount(), 9);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral(" №"));
    QCOMPARE(grid->Cell(1, 0), QString());
    QCOMPARE(grid->Cell(2, 0), QStringLiteral("Время"));
    QCOMPARE(grid->Cell(9, 0), QStringLiteral("Вс"));
    QCOMPARE(grid->Cell(12, 0), QStringLiteral("                Действие"));
    QCOMPARE(grid->Cell(13, 0), QStringLiteral("  Доп. параметр"));
    QCOMPARE(grid->Cell(0, 8), QStringLiteral(" 8"));
    for (int row = 1; row <= 8; ++row) {
        for (int col : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11})
            QVERIFY(p->LineCheckBox(col, row) != nullptr);
        QVERIFY(grid->Object(2, row) == nullptr);
        QComboBox *action = p->LineComboBox(C::colAction, row);
        QCOMPARE(action->count(), 7);
        QCOMPARE(action->itemText(6), QStringLiteral("Управление Выходом 2"));
        QCOMPARE(action->property("Tag").toInt(), row);
        QComboBox *reaction = p->LineComboBox(C::colParameter, row);
        QCOMPARE(reaction->count(), 17);
        QCOMPARE(reaction->itemText(0), QStringLiteral("нет реакции"));
        QCOMPARE(reaction->itemText(16), QStringLiteral("сценарий 14"));
        QVERIFY(reaction->isHidden());
    }
    QCOMPARE(p->GroupBox3->title(), QStringLiteral(" Планировщик задач "));
    QCOMPARE(p->Button2->text(), QStringLiteral("Установить"));
    QCOMPARE(p->Button3->text(), QStringLiteral("Синхро."));
    QCOMPARE(p->MaskEditContrCurTime->EditMask(), QStringLiteral("!99/99/99 99:99:99;1;-"));
    QVERIFY(p->MaskEditPCCurTime->isReadOnly());
    for (int n = 1; n <= 16; ++n)
        QCOMPARE(!f.Control<QCheckBox>(QStringLiteral("CheckBoxInfoIn%1").arg(n))->isHidden(), n <= 4);
    for (int k = 1; k <= 7; ++k) {
        QCOMPARE(!f.Control<QCheckBox>(QStringLiteral("CheckBoxInfoR%1").arg(k))->isHidden(), k <= 4);
        QCOMPARE(f.Control<QLabel>(QStringLiteral("Label%1").arg(120 + k))->text(), f.texts.OutputNames[k - 1]);
    }
    for (const char *name : {"GroupBox8", "Label16", "Label28", "Label130", "CheckBoxDSTEnable", "GroupBoxInfoMsgContent"})
        QVERIFY2(f.form.findChild<QWidget *>(QLatin1String(name)) != nullptr, name);
}

void TestPageClock::timeZoneItems()
{
    GeneralPagesFixture f;
    QComboBox *zone = f.clock->ComboBoxTimeZone;
    QCOMPARE(zone->count(), 26);
    QCOMPARE(zone->itemText(0), QStringLiteral("(GMT-12:00)"));
    QCOMPARE(zone->itemText(11), QStringLiteral("(GMT-1:00)"));
    QCOMPARE(zone->itemText(12), QStringLiteral("(GMT) Время по Гринвичу: Дублин, Лондон"));
    QCOMPARE(zone->itemText(13), QStringLiteral("(GMT+1:00)"));
    QCOMPARE(zone->itemText(14), QStringLiteral("(GMT+2:00) Афины, Бейрут, Киев, Минск"));
    QCOMPARE(zone->itemText(16), QStringLiteral("(GMT+4:00) Москва, Санкт-Петербург, Тула"));
    QCOMPARE(zone->itemText(23), QStringLiteral("(GMT+11:00) Владивосток"));
    QCOMPARE(zone->itemText(25), QStringLiteral("(GMT+13:00)"));
    f.Open(Pages::Clock);
    QCOMPARE(f.clock->Label5->text(), QStringLiteral("Часы, планировщик задач"));
    QCOMPARE(zone->currentIndex(), 16);
}

void TestPageClock::roundTrip_data()
{
    QTest::addColumn<bool>("varied");
    QTest::newRow("defaults") << false;
    QTest::newRow("varied lines") << true;
}

void TestPageClock::roundTrip()
{
    QFETCH(bool, varied);
    GeneralPagesFixture f;
    if (varied)
        VaryClockPage(f.config.ConfigImage);
    const ConfigImage want = Cleared(f.config.ConfigImage);
    f.Open(Pages::Clock);
    f.Store(Pages::Clock);
    const QByteArray diff = Differences(f.config.ConfigImage, want);
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestPageClock::storeScheduleLine()
{
    GeneralPagesFixture f;
    f.Open(Pages::Clock);
    PageClock *p = f.clock;
    const int row = 3;
    p->LineCheckBox(C::colEnabled, row)->setChecked(true);
    p->StringGrid3->SetCell(C::colTime, row, QStringLiteral("07:05"));
    p->LineCheckBox(C::colMonday, row)->setChecked(true);
    p->LineCheckBox(C::colMonday + 6, row)->setChecked(true);
    p->LineComboBox(C::colAction, row)->setCurrentIndex(4); // "Управление Реле 2"
    QVERIFY(!p->LineComboBox(C::colParameter, row)->isHidden());
    p->LineComboBox(C::colParameter, row)->setCurrentIndex(3); // "сценарий 1"
    f.Store(Pages::Clock);
    const FieldView line = Line(f.config, row);
    const quint8 *b = f.config.ConfigImage.data() + L::Base + (row - 1) * L::Size;
    QCOMPARE(b[0], 0x01);
    QCOMPARE(b[4], 0x41);
    QCOMPARE(b[5], 7);
    QCOMPARE(b[6], 5);
    QCOMPARE(line.Get(L::Action), 3u);
    QCOMPARE(line.Get(L::ActionOutput), 1u);
    QCOMPARE(b[14], 3);
    ConfigImage want = DefaultImage();
    std::copy(b, b + L::Size, want.begin() + L::Base + (row - 1) * L::Size);
    QVERIFY(Differences(f.config.ConfigImage, want).isEmpty());
}

void TestPageClock::showActionKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("byte13");
    QTest::addColumn<int>("byte14");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("reaction");
    QTest::addColumn<bool>("reactionShown");
    QTest::addColumn<int>("storedKind");
    QTest::addColumn<int>("storedByte13");
    QTest::newRow("no action keeps its parameter") << 0 << 5 << 9 << 0 << 5 << false << 0 << 5;
    QTest::newRow("arm") << 1 << 0 << 0 << 1 << 0 << false << 1 << 0;
    QTest::newRow("disarm, parameter beyond items") << 2 << 40 << 0 << 2 << -1 << false << 2 << 0xFF;
    QTest::newRow("output 2 with untouched high bits") << 3 << 0x51 << 16 << 4 << 16 << true << 3 << 0x51;
    QTest::newRow("output 3: no item") << 3 << 0x04 << 2 << -1 << 2 << false << 0x3F << 0x02;
    QTest::newRow("reserved kind: no item") << 4 << 1 << 0 << -1 << 1 << false << 0x3F << 1;
    QTest::newRow("unknown kind") << 40 << 3 << 7 << 0 << 0 << false << 0 << 0;
}

void TestPageClock::showActionKinds()
{
    QFETCH(int, kind);
    QFETCH(int, byte13);
    QFETCH(int, byte14);
    QFETCH(int, action);
    QFETCH(int, reaction);
    QFETCH(bool, reactionShown);
    QFETCH(int, storedKind);
    QFETCH(int, storedByte13);
    GeneralPagesFixture f;
    const int row = 5;
    // The line before showed an output reaction.
    f.Open(Pages::Clock);
    f.clock->LineComboBox(C::colAction, row)->setCurrentIndex(5);
    const FieldView line = Line(f.config, row);
    line.Set(L::Action, kind);
    line.Set(L::Parameter, byte13);
    line.Set(L::ActionReaction, byte14);
    f.Open(Pages::Clock);
    QCOMPARE(f.clock->LineComboBox(C::colAction, row)->currentIndex(), action);
    QCOMPARE(f.clock->LineComboBox(C::colParameter, row)->currentIndex(), reaction);
    QCOMPARE(!f.clock->LineComboBox(C::colParameter, row)->isHidden(), reactionShown);
    f.Store(Pages::Clock);
    QCOMPARE(int(line.Get(L::Action)), storedKind);
    QCOMPARE(int(line.Get(L::Parameter)), storedByte13);
    if (storedKind != 3)
        QCOMPARE(int(line.Get(L::ActionReaction)), byte14);
}

void TestPageClock::actionChangeHidesReaction()
{
    GeneralPagesFixture f;
    f.Open(Pages::Clock);
    QComboBox *action = f.clock->LineComboBox(C::colAction, 2);
    QComboBox *reaction = f.clock->LineComboBox(C::colParameter, 2);
    for (int index : {3, 4, 5, 6}) {
        action->setCurrentIndex(index);
        QVERIFY(!reaction->isHidden());
    }
    reaction->setCurrentIndex(8);
    action->setCurrentIndex(1); // "Перейти в реж. Охрана"
    QVERIFY(reaction->isHidden());
    QCOMPARE(reaction->currentIndex(), 0);
    QCOMPARE(reaction->currentText(), QStringLiteral("нет реакции"));
    // The grid lays out its cell controls again: the hidden box stays hidden.
    f.form.show();
    f.clock->StringGrid3->resize(f.clock->StringGrid3->width() + 10, f.clock->StringGrid3->height());
    f.clock->StringGrid3->scrollToBottom();
    QCoreApplication::processEvents();
    QVERIFY(reaction->isHidden());
    QVERIFY(!f.clock->LineComboBox(C::colParameter, 3)->isVisible());
    action->setCurrentIndex(6);
    QVERIFY(reaction->isVisible());
    action->setCurrentIndex(-1);
    QVERIFY(reaction->isHidden());
}

void TestPageClock::typedTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("hour");
    QTest::addColumn<quint32>("minute");
    QTest::newRow("full") << "23:59" << 23u << 59u;
    QTest::newRow("blank places") << "7 : 5" << 7u << 5u;
    QTest::newRow("empty") << "" << 0u << 0u;
    QTest::newRow("no numbers") << "ab:cd" << 0u << 0u;
    QTest::newRow("beyond the fields: low bits") << "33:70" << 1u << 6u;
}

void TestPageClock::typedTimes()
{
    QFETCH(QString, text);
    QFETCH(quint32, hour);
    QFETCH(quint32, minute);
    GeneralPagesFixture f;
    f.Open(Pages::Clock);
    f.clock->StringGrid3->SetCell(C::colTime, 8, text);
    f.Store(Pages::Clock);
    QCOMPARE(Line(f.config, 8).Get(L::Hour), hour);
    QCOMPARE(Line(f.config, 8).Get(L::Minute), minute);
    f.Open(Pages::Clock);
    QCOMPARE(f.clock->StringGrid3->Cell(C::colTime, 8),
             QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0')));
}

void TestPageClock::timeColumnEditing()
{
    GeneralPagesFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.Open(Pages::Clock);
    TStringGrid *grid = f.clock->StringGrid3;
    QCOMPARE(f.clock->StringGrid3GetEditMask(2, 1), QStringLiteral("!99:99;1;-"));
    QCOMPARE(f.clock->StringGrid3GetEditMask(12, 1), QString());
    grid->SetCurrentCell(12, 1);
    QVERIFY(!grid->Editing());
    grid->SetCurrentCell(C::colTime, 4);
    QVERIFY(grid->Editing());
    // Typing over the time in place, as a user does.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = grid->findChild<QLineEdit *>();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1830"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid->Cell(C::colTime, 4), QStringLiteral("18:30"));
    f.Store(Pages::Clock);
    QCOMPARE(Line(f.config, 4).Get(L::Hour), 18u);
    QCOMPARE(Line(f.config, 4).Get(L::Minute), 30u);
}

void TestPageClock::timeZoneBeyondItems()
{
    GeneralPagesFixture f;
    const FieldView image = View(f.config.ConfigImage);
    for (int zone : {-12, 0, 13}) {
        image.Set(ClockFields::TimeZone, zone);
        f.Open(Pages::Clock);
        QCOMPARE(f.clock->ComboBoxTimeZone->currentIndex(), zone + 12);
        f.Store(Pages::Clock);
        QCOMPARE(image.Get(ClockFields::TimeZone), zone);
    }
    for (int zone : {14, -13, 100}) {
        image.Set(ClockFields::TimeZone, zone);
        f.Open(Pages::Clock);
        QCOMPARE(f.clock->ComboBoxTimeZone->currentIndex(), -1);
        f.Store(Pages::Clock);
        // No selection: shown as none again, never as a real zone.
        QCOMPARE(image.Get(ClockFields::TimeZone), -13);
    }
}

void TestPageClock::informationMessage()
{
    GeneralPagesFixture f;
    f.Open(Pages::Clock);
    PageClock *p = f.clock;
    p->CheckBoxInfoIn[0]->setChecked(true);
    p->CheckBoxInfoIn[15]->setChecked(true);
    p->CheckBoxInfoR[1]->setChecked(true);
    p->CheckBoxInfoR[6]->setChecked(true);
    p->CheckBoxDSTEnable->setChecked(true);
    p->ComboBoxTimeZone->setCurrentIndex(12);
    f.config.ConfigImage[2673] = 0xF0;
    f.Store(Pages::Clock);
    const ConstFieldView image = View(std::as_const(f.config.ConfigImage));
    QCOMPARE(image.Get(ClockFields::InfoIn), 0x8001u);
    QCOMPARE(f.config.ConfigImage[2678], 0x42);
    QCOMPARE(f.config.ConfigImage[2673], 0xF1);
    QCOMPARE(image.Get(ClockFields::TimeZone), 0);
}

QTEST_MAIN(TestPageClock)
#include "tst_page_clock.moc"
