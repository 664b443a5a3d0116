// The language file "lng.txt", applied by the real main window at start-up.
#include "simulator/ControllerSimulator.h"
#include "toolkit/ExceptionReport.h"
#include "configurator/LanguageLayout.h"
#include "tests/configurator/MainWindowFixture.h"
#include "link/Readdata.h"
#include "toolkit/widgets/StringGrid.h"
#include "toolkit/Win1251.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Header = QLatin1String(LanguageFileHeader);

// Line 0 the header, line n "L<n>", with some lines given other texts.
QStringList NumberedLines(const QMap<int, QString> &overrides = {}, int count = LanguageFileLineCount)
{
    QStringList lines{Header};
    for (int n = 1; n < count; ++n)
        lines << overrides.value(n, QStringLiteral("L%1").arg(n));
    return lines;
}

QString L(int line)
{
    return QStringLiteral("L%1").arg(line);
}

QStringList LineRange(int first, int last)
{
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts << L(n);
    return texts;
}

QByteArray Encode(const QStringList &lines, const QByteArray &lineEnd = "\r\n", bool breakAfterLast = true)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        bytes += ToWin1251(lines[i]);
        if (i + 1 < lines.size() || breakAfterLast)
            bytes += lineEnd;
    }
    return bytes;
}

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; combo != nullptr && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

std::optional<QString> CaptionOf(const QWidget *w)
{
    if (const auto *box = qobject_cast<const QGroupBox *>(w))
        return box->title();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(w))
        return memo->toPlainText();
    if (const auto *menu = qobject_cast<const QMenu *>(w))
        return menu->title();
    return std::nullopt;
}

// Everything the language file could change, as text: captions, visibility,
// items and header cells of every named control, the tree, the window's
// caption and its text lists.
QStringList Snapshot(const TForm1 &form)
{
    QStringList out{QStringLiteral("caption=") + form.windowTitle()};
    for (int page = 0; page < PageCount; ++page)
        out << QStringLiteral("node%1=").arg(page) + form.NodeText(page);
    for (const QAction *action : form.findChildren<QAction *>())
        if (!action->objectName().isEmpty())
            out << action->objectName() + QStringLiteral(" action=") + action->text() + QLatin1Char('|') +
                       action->toolTip();
    for (const QWidget *w : form.findChildren<QWidget *>()) {
        if (w->objectName().isEmpty())
            continue;
        QString entry = w->objectName() + (w->isHidden() ? QStringLiteral(" hidden") : QStringLiteral(" shown")) +
                        QLatin1Char('|') + w->toolTip() + QLatin1Char('|');
        if (const auto caption = CaptionOf(w))
            entry += *caption;
        else if (const auto *combo = qobject_cast<const QComboBox *>(w))
            entry += Items(combo).join(QLatin1Char(';')) + QStringLiteral(" @%1 ").arg(combo->currentIndex()) +
                     combo->currentText();
        else if (const auto *grid = qobject_cast<const TStringGrid *>(w))
            for (int col = 0; col < grid->ColCount(); ++col)
                entry += grid->Cell(col, 0) + QLatin1Char(';');
        out << entry;
    }
    const FormTexts &t = form.Texts();
    for (const QStringList *list : {&t.ModeNames, &t.OutputNames, &t.OutputActionNames, &t.EventActionNames,
                                    &t.LedModeNames, &t.EnabledWords, &t.StimulusCaptions, &t.GsmStateTexts,
                                    &t.StatusMessages})
        out << list->join(QLatin1Char(';'));
    out << QStringList{t.PortOpenFailureText, t.PortDialogCaption, t.VersionLabelPrefix, t.AboutCaption,
                       t.SignalShapeText,     t.ScenarioNumberText, t.CycleText,          t.HighLevelText,
                       t.LowLevelText,        t.KeyTableFullText,   t.KeyKnownPrefix,     t.KeyKnownSuffix};
    return out;
}

// The real window (its own pages) in a fresh directory, after lng.txt has
// been given; what the exception report received is kept.
struct LanguageFixture : MainWindowFixture {
    QStringList reports;

    LanguageFixture()
    {
        SetExceptionReporter([this](const QString &message) { reports << message; });
    }
    ~LanguageFixture() { SetExceptionReporter({}); }

    QString FilePath() const { return Path(QLatin1String(LanguageFileName)); }
    void Write(const QByteArray &bytes) const
    {
        QFile file(FilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    TForm1 &OpenReal()
    {
        form = std::make_unique<TForm1>();
        return *form;
    }
    template <class W>
    W *Get(const char *name) const
    {
        return FindControl<W>(form.get(), QLatin1String(name));
    }
};

// The window as built, without a language file.
QStringList BuiltInSnapshot()
{
    LanguageFixture f;
    return Snapshot(f.OpenReal());
}

// The first entry that differs, for a readable failure.
QString FirstDifference(const QStringList &got, const QStringList &want)
{
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        if (got[i] != want[i])
            return got[i] + QStringLiteral("  <>  ") + want[i];
    return got.size() == want.size() ? QString() : QStringLiteral("sizes %1 <> %2").arg(got.size()).arg(want.size());
}

} // namespace

class TstLanguage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void rejectedFilesChangeNothing_data();
    void rejectedFilesChangeNothing();
    void unreadableFileIsReportedAndChangesNothing_data();
    void unreadableFileIsReportedAndChangesNothing();
    void acceptedWithEveryLineEnd_data();
    void acceptedWithEveryLineEnd();

    void windowTreeAndMenus();
    void captionsByLine_data();
    void captionsByLine();
    void framedGroupBoxes_data();
    void framedGroupBoxes();
    void comboItemsAndSelection();
    void gridHeaders();
    void formTextsAndLists();
    void testCombosTakeTheTranslatedLists();
    void pagesShowTheTranslatedLists();
    void linesTakenWholeInWindows1251();
    void unusedLinesChangeNothing();
    void hiddenOnlyWhenAccepted();
    void infoMessageNamesEachOutputOnce_data();
    void infoMessageNamesEachOutputOnce();

    void everyNamedTargetExists();
    void translatedStatusMessagesReachAWorker();

private:
    TForm1 &Accepted() const { return *accepted_->form; }
    template <class W>
    W *Get(const char *name) const
    {
        return accepted_->Get<W>(name);
    }

    QStringList builtIn_;
    // The window after a file whose line n reads "L<n>"; tests only look at it.
    std::unique_ptr<LanguageFixture> accepted_;
};

void TstLanguage::initTestCase()
{
    builtIn_ = BuiltInSnapshot();
    accepted_ = std::make_unique<LanguageFixture>();
    accepted_->Write(Encode(NumberedLines()));
    accepted_->OpenReal();
}

void TstLanguage::cleanupTestCase()
{
    accepted_.reset();
}

// ---- acceptance

void TstLanguage::rejectedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<bool>("directory");
    QStringList header = NumberedLines();
    header[0][3] = QLatin1Char('q');
    QStringList blank = NumberedLines();
    blank[0] += QLatin1Char(' ');
    QStringList noMark = NumberedLines();
    noMark[0].chop(1);

    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("a directory") << QByteArray() << true;
    QTest::newRow("only a break") << QByteArray("\r\n") << false;
    QTest::newRow("412 lines") << Encode(NumberedLines({}, 412)) << false;
    QTest::newRow("414 lines") << Encode(NumberedLines({}, 414)) << false;
    QTest::newRow("413 lines and a trailing empty line") << Encode(NumberedLines() << QString()) << false;
    QTest::newRow("header: one character") << Encode(header) << false;
    QTest::newRow("header: trailing blank") << Encode(blank) << false;
    QTest::newRow("header: no exclamation mark") << Encode(noMark) << false;
    QTest::newRow("LF CR line ends") << Encode(NumberedLines(), "\n\r") << false;
}

void TstLanguage::rejectedFilesChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, directory);
    LanguageFixture f;
    if (directory)
        QVERIFY(QDir(f.dir.path()).mkdir(QLatin1String(LanguageFileName)));
    else if (!bytes.isEmpty())
        f.Write(bytes);
    const QStringList got = Snapshot(f.OpenReal());
    QVERIFY2(got == builtIn_, qPrintable(FirstDifference(got, builtIn_)));
    QCOMPARE(f.reports, QStringList{});
}

void TstLanguage::unreadableFileIsReportedAndChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no read permission") << "permission";
    QTest::newRow("reading fails") << "eio";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("larger than a language file can be") << "large";
}

void TstLanguage::unreadableFileIsReportedAndChangesNothing()
{
    QFETCH(QString, kind);
    LanguageFixture f;
    if (kind == "permission") {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        f.Write(Encode(NumberedLines()));
        QVERIFY(QFile::setPermissions(f.FilePath(), QFileDevice::WriteOwner));
    } else if (kind == "eio") {
        // Opens, but the first read fails (EIO).
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), f.FilePath()));
    } else if (kind == "zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f.FilePath()));
    } else if (kind == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(f.FilePath()).constData(), 0666) == 0);
    } else {
        // Acceptable but for its size.
        f.Write(Encode(NumberedLines({{409, QString(language::MaxFileSize, QLatin1Char('x'))}})));
    }
    TForm1 &form = f.OpenReal();
    QCOMPARE(f.reports.size(), 1);
    QVERIFY2(f.reports[0].contains(QLatin1String(LanguageFileName)), qPrintable(f.reports[0]));
    const QStringList got = Snapshot(form);
    QVERIFY2(got == builtIn_, qPrintable(FirstDifference(got, builtIn_)));
    // Start-up went on after the report.
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("NC"));
}

void TstLanguage::acceptedWithEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << Encode(NumberedLines());
    QTest::newRow("CR LF, none after the last") << Encode(NumberedLines(), "\r\n", false);
    QTest::newRow("LF") << Encode(NumberedLines(), "\n");
    QTest::newRow("CR") << Encode(NumberedLines(), "\r", false);
    QByteArray mixed;
    const QStringList lines = NumberedLines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        mixed += ToWin1251(lines[i]) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    QTest::newRow("mixed") << mixed;
}

void TstLanguage::acceptedWithEveryLineEnd()
{
    QFETCH(QByteArray, bytes);
    LanguageFixture f;
    f.Write(bytes);
    TForm1 &form = f.OpenReal();
    QCOMPARE(form.windowTitle(), QStringLiteral("L1 QRV240"));
    QCOMPARE(form.Texts().StatusMessages.value(19), L(408));
}

// ---- an accepted file whose every line reads differently

void TstLanguage::windowTreeAndMenus()
{
    TForm1 &form = Accepted();
    QCOMPARE(form.windowTitle(), QStringLiteral("L1 QRV240"));

    // Node k takes line 20 + its entry of the larger model's tree.
    const int nodeLines[PageCount] = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                                      37, 38, 39, 40, 41, 54, 55, 56, 57, 58, 62, 63};
    QCOMPARE(form.NodeText(Pages::LiveState), QStringLiteral("L20 QRV240-S"));
    for (int node = 1; node < PageCount; ++node)
        QCOMPARE(form.NodeText(node), L(nodeLines[node]));
    QCOMPARE(Get<QLabel>("Label30")->text(), QStringLiteral("L20 QRV240-S"));
    QCOMPARE(form.TreeView1->topLevelItemCount(), 1);

    // Menu items take their lines; the actions they run keep their captions.
    const char *const menuItems[] = {"N1",  "N2",  "N3",  "N13",           "N7",             "N8",
                                     "COMPortSetup", "N9", "N10", "N11", "N12", "ReadIMEICode1",
                                     "Reconfigurate1", "Reset1", "N5", "N15"};
    for (int i = 0; i < 16; ++i)
        QCOMPARE(Get<QAction>(menuItems[i])->text(), L(3 + i));
    QCOMPARE(Get<QMenu>("N1")->title(), L(3));
    QCOMPARE(form.Programm->text(), QStringLiteral("Программировать"));
    QCOMPARE(form.Reset->text(), QStringLiteral("Reset"));

    // Tool buttons copy their menu items and show no hints.
    const std::pair<const char *, int> buttons[] = {
        {"SpeedButton6", 11}, {"SpeedButton8", 12}, {"SpeedButton1", 13}, {"SpeedButton4", 15}, {"SpeedButton9", 16}};
    for (const auto &[name, line] : buttons)
        QCOMPARE(Get<QAbstractButton>(name)->text(), L(line));
    for (const char *name : {"SpeedButton6", "SpeedButton8", "SpeedButton1", "SpeedButton4", "SpeedButton9",
                             "SpeedButton7", "SpeedButton2", "SpeedButton3"})
        QVERIFY2(Get<QWidget>(name)->toolTip().isEmpty(), name);
    QVERIFY(!Get<QWidget>("SpeedButton5")->toolTip().isEmpty());
}

void TstLanguage::captionsByLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const std::pair<const char *, int> rows[] = {
        // set
        {"Label48", 66},
        {"Label68", 74},
        {"Button21", 75},
        {"Button18", 77},
        {"Button22", 79},
        {"Button20", 86},
        {"CheckBoxClearSaveArea", 87},
        {"CheckBoxSysPassword", 114},
        {"Label131", 123},
        {"StaticText1", 129},
        {"Label129", 136},
        {"Label32", 144},
        {"CheckBoxMaskDInput1", 158},
        {"CheckBoxMaskDInput16", 173},
        {"CheckBoxMaskDDisarm4", 184},
        {"CheckBoxDebugMode", 191},
        {"Label130", 198},
        {"CheckBoxDSTEnable", 199},
        {"Label135", 238},
        {"CheckBoxAlarmBlinking", 254},
        {"RadioButtonPerimPulsAD", 271},
        {"LabelRedirectToOut", 275},
        {"Label96", 284},
        {"Label80", 310},
        {"Label76", 322},
        {"StaticText2", 329},
        {"Label193", 331},
        {"CheckBoxReleInversion", 339},
        {"Label90", 344},
        {"Memo2", 354},
        {"Button1", 356},
        {"Label107", 362},
        {"CheckBoxFWUpdateEnable", 368},
        // copies
        {"Button23", 77},
        {"Button24", 78},
        {"Button6", 83},
        {"Button16", 83},
        {"Button7", 84},
        {"Button17", 84},
        {"CheckBoxSMSEn", 151},
        {"Label78", 156},
        {"CheckBoxMaskSInput1", 158},
        {"CheckBoxMaskSInput16", 173},
        {"CheckBoxMaskSRestrictedArm", 178},
        {"CheckBoxMaskSDisarm4", 184},
        {"CheckBoxInfoIn1", 158},
        {"CheckBoxInfoIn16", 173},
        {"CheckBoxRestrArmMode16", 173},
        {"CheckBoxInput1LinkType", 158},
        {"RadioButtonPerimPulsARM", 271},
        {"RadioButtonPerimTouchAD", 273},
        {"Label69", 37},
        {"BitBtnProgSysPar", 11},
        {"BitBtnReadSysPar", 12},
        // label rows from OutputNames
        {"Label29", 88},
        {"Label61", 94},
        {"Label71", 94},
        {"Label154", 88},
        {"Label175", 88},
        {"Label173", 94},
        {"Label102", 88},
        {"Label40", 94},
    };
    for (const auto &[name, line] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << L(line);
    QTest::newRow("GroupBoxMaunPerimInfo") << QStringLiteral("GroupBoxMaunPerimInfo") << QStringLiteral(" L76 ");
    QTest::newRow("GroupBoxConSMS") << QStringLiteral("GroupBoxConSMS") << QStringLiteral(" L157 ");
    QTest::newRow("GroupBox48") << QStringLiteral("GroupBox48") << QStringLiteral(" L259 ");
    QTest::newRow("GroupBox47") << QStringLiteral("GroupBox47") << QStringLiteral(" L261 ");
}

void TstLanguage::captionsByLine()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TForm1 &form = Accepted();
    const QWidget *w = FindControl<QWidget>(&form, name);
    QVERIFY2(w != nullptr, qPrintable(name));
    QCOMPARE(CaptionOf(w).value_or(QStringLiteral("(no caption)")), caption);
}

void TstLanguage::framedGroupBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("line");
    const std::pair<const char *, int> rows[] = {
        {"GroupBox15", 65},
        {"GroupBoxPerimetersInfo", 76},
        {"GroupBoxInputIndicator", 81},
        {"GroupBoxOutIndicator", 82},
        {"GroupBox28", 85},
        {"GroupBox6", 113},
        {"GroupBox13", 124},
        {"GroupBox12", 130},
        {"GroupBoxInCallToOutsAction", 149},
        {"GroupBoxConSharD", 150},
        {"GroupBoxConDial", 157},
        {"GroupBox8", 193},
        {"GroupBoxInfoMsgContent", 200},
        {"GroupBox3", 201},
        {"GroupBox9", 226},
        {"GroupBox21", 231},
        {"GroupBox29", 232},
        {"GroupBox1", 239},
        {"GroupBox42", 242},
        {"GroupBox23", 245},
        {"GroupBox11", 256},
        {"GroupBoxProtectModeLink", 258},
        {"GroupBox4", 259},
        {"GroupBox5", 260},
        {"GroupBox7", 261},
        {"GroupBox43", 262},
        {"GroupBox46", 270},
        {"GroupBoxLinkedInsToPers", 277},
        {"GroupBox45", 279},
        {"GroupBox17", 281},
        {"GroupBox18", 283},
        {"GroupBox2", 297},
        {"GroupBox10", 304},
        {"GroupBoxFiltr", 316},
        {"GroupBox14", 328},
        {"GroupBoxInActActions", 335},
        {"GroupBoxInPasActions", 336},
        {"GroupBox24", 360},
        {"GroupBox41", 365},
    };
    for (const auto &[name, line] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << line;
}

void TstLanguage::framedGroupBoxes()
{
    QFETCH(QString, name);
    QFETCH(int, line);
    TForm1 &form = Accepted();
    auto *box = FindControl<QGroupBox>(&form, name);
    QVERIFY2(box != nullptr, qPrintable(name));
    QCOMPARE(box->title(), QLatin1Char(' ') + L(line) + QLatin1Char(' '));
}

void TstLanguage::comboItemsAndSelection()
{

    auto *transport = Get<QComboBox>("ComboBoxTransportPriority");
    QCOMPARE(Items(transport), LineRange(141, 143));
    QCOMPARE(transport->currentIndex(), 0);
    auto *incoming = Get<QComboBox>("ComboBoxIncomungCallAction");
    QCOMPARE(Items(incoming).mid(0, 4), LineRange(145, 148));
    QCOMPARE(incoming->currentIndex(), 0);

    auto *zones = Get<QComboBox>("ComboBoxTimeZone");
    QCOMPARE(zones->count(), 26);
    QCOMPARE(zones->currentIndex(), -1);
    QCOMPARE(zones->itemText(0), QStringLiteral("(GMT-12:00)"));
    QCOMPARE(zones->itemText(11), QStringLiteral("(GMT-1:00)"));
    QCOMPARE(zones->itemText(12), QStringLiteral("(GMT+0:00)"));
    QCOMPARE(zones->itemText(16), QStringLiteral("(GMT+4:00)"));
    QCOMPARE(zones->itemText(25), QStringLiteral("(GMT+13:00)"));

    QCOMPARE(Items(Get<QComboBox>("ComboBoxLang")), (QStringList{L(186), L(187), QStringLiteral("SentryBeacon")}));
    const QStringList onLine = Items(Get<QComboBox>("ComboBoxOnLineTime"));
    QCOMPARE(onLine.size(), 62);
    QCOMPARE(onLine.mid(0, 3), (QStringList{L(153), L(154), QStringLiteral("2 Sec.")}));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxDialPriority")).mid(0, 2), LineRange(132, 133));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxUserId")).mid(0, 2), LineRange(189, 190));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxPortPwrSensAllOn")), LineRange(285, 286));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxSensType")), LineRange(292, 296));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxSensActLevel")), LineRange(298, 303));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxSensorPwrSource")), LineRange(311, 313));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxAlarmTry")), LineRange(323, 326));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxReleToAlarm")), LineRange(332, 334));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxCALDIR")), LineRange(363, 364));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxBatteryType")), LineRange(366, 367));

    // The built-in suggestion words are gone, edit text included.
    for (const char *name : {"ComboBoxSensName", "ComboBoxSensActSt", "ComboBoxSensPassSt", "ComboBoxReleName",
                             "ComboBoxReleNameAct", "ComboBoxReleNameDeact"}) {
        QCOMPARE(Get<QComboBox>(name)->count(), 0);
        QVERIFY2(Get<QComboBox>(name)->currentText().isEmpty(), name);
    }

    // Every reaction and output combo takes the lists' new texts.
    for (const char *name : {"ComboBoxICToOUOutN", "ComboBoxHiBorderOut", "ComboBoxLoBorderOut"})
        QCOMPARE(Items(Get<QComboBox>(name)), LineRange(88, 94));
    for (const char *name : {"ComboBoxICToOUScnN", "ComboBoxTamperActScnN", "ComboBoxCDtoRele1",
                             "ComboBoxDisarmToRele7", "ComboBoxPArmToRele4", "ComboBoxActRele1", "ComboBoxPassRele7"})
        QCOMPARE(Items(Get<QComboBox>(name)), LineRange(95, 111));

    auto *commType = Get<QComboBox>("ComboBoxCommType");
    QCOMPARE(Items(commType), QStringList{L(345)} + LineRange(98, 111));
}

void TstLanguage::gridHeaders()
{
    auto *scheduler = Get<TStringGrid>("StringGrid3");
    QCOMPARE(scheduler->Cell(0, 0), QStringLiteral(" L202"));
    QCOMPARE(scheduler->Cell(1, 0), QString());
    for (int col = 2; col <= 13; ++col)
        QCOMPARE(scheduler->Cell(col, 0), L(201 + col));
    for (int row = 1; row <= 8; ++row) {
        QCOMPARE(Items(qobject_cast<QComboBox *>(scheduler->Object(12, row))), LineRange(215, 221));
        QCOMPARE(Items(qobject_cast<QComboBox *>(scheduler->Object(13, row))), LineRange(95, 111));
    }
    auto *keys = Get<TStringGrid>("StringGrid1");
    QCOMPARE(keys->Cell(0, 0), QStringLiteral("#"));
    QCOMPARE(keys->Cell(1, 0), L(263));
    QCOMPARE(keys->Cell(2, 0), L(264));
    auto *perimeter = Get<TStringGrid>("StringGridPerimTouch");
    QCOMPARE(perimeter->Cell(0, 0), QStringLiteral("#"));
    QCOMPARE(perimeter->Cell(1, 0), QStringLiteral("L"));
    QCOMPARE(perimeter->Cell(2, 0), L(263));
    QCOMPARE(perimeter->Cell(3, 0), L(264));
}

void TstLanguage::formTextsAndLists()
{
    TForm1 &form = Accepted();
    const FormTexts &t = form.Texts();
    QCOMPARE(t.ModeNames, (QStringList{L(77), L(78), L(79), QStringLiteral("Смена режима")}));
    QCOMPARE(t.OutputNames, LineRange(88, 94));
    QCOMPARE(t.OutputActionNames, LineRange(95, 111));
    QCOMPARE(t.EventActionNames, LineRange(215, 224));
    QCOMPARE(t.LedModeNames, LineRange(247, 253));
    QCOMPARE(t.EnabledWords, (QStringList{L(338), L(338)}));
    QCOMPARE(t.StimulusCaptions, (QStringList{QStringLiteral(" L346 "), QStringLiteral(" L347 ")}));
    QCOMPARE(t.GsmStateTexts, LineRange(376, 387));
    QCOMPARE(t.StatusMessages, LineRange(389, 408));
    const std::pair<const QString &, int> texts[] = {
        {t.KeyKnownPrefix, 265},     {t.KeyKnownSuffix, 266},     {t.KeyTableFullText, 267},
        {t.SignalShapeText, 349},    {t.ScenarioNumberText, 350}, {t.CycleText, 351},
        {t.HighLevelText, 352},      {t.LowLevelText, 353},       {t.PortDialogCaption, 370},
        {t.PortOpenFailureText, 371}, {t.AboutCaption, 373},      {t.VersionLabelPrefix, 374},
    };
    for (const auto &[text, line] : texts)
        QCOMPARE(text, L(line));
}

// Start-up fills the root page's test combos after the file, from its lists.
void TstLanguage::testCombosTakeTheTranslatedLists()
{
    QCOMPARE(Items(Get<QComboBox>("ComboBoxTestOut")), LineRange(88, 91));
    QCOMPARE(Items(Get<QComboBox>("ComboBoxTestScen")), LineRange(98, 111));
}

void TstLanguage::pagesShowTheTranslatedLists()
{
    LanguageFixture f;
    f.Write(Encode(NumberedLines()));
    TForm1 &form = f.OpenReal();
    // The indication page lists entries 3..6 of the seven.
    form.SelectPage(Pages::Power);
    QCOMPARE(Items(f.Get<QComboBox>("ComboBoxIndFunction")), LineRange(250, 253));
    // A stored switching type of 14 (the last scenario) still selects an item.
    RecordView<OutputRecord>(form.ControllerConfig.ConfigImage, 0).Set(OutputRecord::CommType, 14);
    form.SelectPage(Pages::FirstOutput);
    QCOMPARE(f.Get<QComboBox>("ComboBoxCommType")->currentIndex(), 14);
    QCOMPARE(f.Get<QComboBox>("ComboBoxCommType")->currentText(), L(111));
    QCOMPARE(f.Get<QCheckBox>("CheckBoxReleEn")->text(), L(338));
    QCOMPARE(f.Get<QLabel>("Label6")->text(), L(55));
    form.SelectPage(Pages::FirstOutput + 2);
    QCOMPARE(f.Get<QCheckBox>("CheckBoxReleEn")->text(), L(338));
    form.SelectPage(Pages::Scenarios);
    QCOMPARE(f.Get<TStringGrid>("StringGrid2")->Cell(0, 0), L(349));
}

// No trimming, no escapes, no markup; an empty line is an empty text; bytes are Windows-1251.
void TstLanguage::linesTakenWholeInWindows1251()
{
    LanguageFixture f;
    const QMap<int, QString> overrides = {
        {1, QStringLiteral("Конфигуратор ёЁ №")},
        {80, QString()},
        {81, QStringLiteral("  // \\n L81\t")},
        {88, QStringLiteral("Реле первое")},
        {129, QStringLiteral("<b>L129</b>")},
    };
    f.Write(Encode(NumberedLines(overrides)));
    TForm1 &form = f.OpenReal();
    QCOMPARE(form.windowTitle(), QStringLiteral("Конфигуратор ёЁ № QRV240"));
    QCOMPARE(f.Get<QLabel>("Label111")->text(), QString());
    QCOMPARE(f.Get<QGroupBox>("GroupBoxInputIndicator")->title(), QStringLiteral("   // \\n L81\t "));
    QCOMPARE(form.Texts().OutputNames.value(0), QStringLiteral("Реле первое"));
    QCOMPARE(f.Get<QComboBox>("ComboBoxTestOut")->itemText(0), QStringLiteral("Реле первое"));
    // Shown as written, not as markup.
    auto *staticText = f.Get<QLabel>("StaticText1");
    QCOMPARE(staticText->text(), QStringLiteral("<b>L129</b>"));
    QCOMPARE(staticText->textFormat(), Qt::PlainText);
}

void TstLanguage::unusedLinesChangeNothing()
{
    QMap<int, QString> other;
    const int unused[] = {2,   19,  64,  112, 137, 192, 225, 255, 268, 276, 278, 287, 337,
                          348, 355, 369, 372, 375, 388, 409, 410, 411, 412, 33,  34,  35,
                          36,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,
                          59,  60,  61};
    for (int line : unused)
        other.insert(line, QStringLiteral("other text %1").arg(line));
    QStringList plain;
    {
        LanguageFixture f;
        f.Write(Encode(NumberedLines()));
        plain = Snapshot(f.OpenReal());
    }
    LanguageFixture f;
    f.Write(Encode(NumberedLines(other)));
    const QStringList got = Snapshot(f.OpenReal());
    QVERIFY2(got == plain, qPrintable(FirstDifference(got, plain)));
    QVERIFY(got != builtIn_);
}

void TstLanguage::hiddenOnlyWhenAccepted()
{
    const char *const names[] = {"GroupBoxRsOutsStimulus", "Label112", "GroupBox16"};
    {
        LanguageFixture f;
        f.OpenReal();
        for (const char *name : names)
            QVERIFY2(!f.Get<QWidget>(name)->isHidden(), name);
    }
    LanguageFixture f;
    f.Write(Encode(NumberedLines()));
    TForm1 &form = f.OpenReal();
    for (const char *name : names)
        QVERIFY2(f.Get<QWidget>(name)->isHidden(), name);
    // Showing a relay page does not bring the stimulus list back.
    form.SelectPage(Pages::FirstOutput);
    QVERIFY(f.Get<QWidget>("GroupBoxRsOutsStimulus")->isHidden());
}

// ---- the window has what the table names

void TstLanguage::everyNamedTargetExists()
{
    LanguageFixture f;
    const TForm1 &form = f.OpenReal();
    const QStringList faults = LanguageTargetFaults(form, *form.TreeView1);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// Workers created after start-up report in the file's texts.
void TstLanguage::translatedStatusMessagesReachAWorker()
{
    LanguageFixture f;
    f.Write(Encode(NumberedLines()));
    TForm1 &form = f.OpenReal();
    form.Timer2->stop(); // no poller on the port meanwhile
    qrvsim::ControllerSimulator sim(QStringLiteral("COM1"), f.ports.path());
    form.ComPort1.SetPort(QStringLiteral("COM1"));

    QLabel label;
    LabelStatus status(&label);
    QByteArray identity(88, 0);
    TReadData worker(true, opIdentify, identity.data(), identity.size(), &form.ComPort1, &status);
    worker.SetMessages(&form.Texts().StatusMessages);
    worker.Resume();
    QCOMPARE(worker.WaitFor(), 0);
    QCOMPARE(label.text(), L(389 + 10)); // "device version read"
}

void TstLanguage::infoMessageNamesEachOutputOnce_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::newRow("built-in texts") << false;
    QTest::newRow("language file") << true;
}

// The outputs' boxes take the names of the labels beside them in the form
// (line 200), which leaves each name shown once, on its box.
void TstLanguage::infoMessageNamesEachOutputOnce()
{
    QFETCH(bool, withFile);
    LanguageFixture builtIn;
    const TForm1 &form = withFile ? Accepted() : builtIn.OpenReal();
    const auto *group = FindControl<QGroupBox>(&form, QStringLiteral("GroupBoxInfoMsgContent"));
    QVERIFY(group != nullptr);
    QStringList shown;
    for (const QWidget *w : group->findChildren<QWidget *>())
        if (w->isVisibleTo(group))
            if (const auto caption = CaptionOf(w); caption && !caption->isEmpty())
                shown << *caption;
    for (int k = 1; k <= 4; ++k) {
        const QString name = FindControl<QLabel>(&form, QStringLiteral("Label%1").arg(120 + k))->text();
        QCOMPARE(FindControl<QCheckBox>(&form, QStringLiteral("CheckBoxInfoR%1").arg(k))->text(), name);
        QCOMPARE(shown.count(name), 1);
    }
    QCOMPARE(shown.size(), 8); // and the four inputs
    QCOMPARE(shown.removeDuplicates(), 0);
}

QTEST_MAIN(TstLanguage)
#include "tst_language.moc"
