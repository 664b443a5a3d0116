// The configurator's dialogs: the COM-port choice (both programs' forms) on
// real pseudo-terminals, the about box, and the factory-reset countdown.
#include "configurator/dialogs/Aboutbox.h"
#include "serial/widgets/ComComboBox.h"
#include "serial/ComPort.h"
#include "configurator/dialogs/Clearconfigform.h"
#include "common/Comportconfig.h"
#include "common/Contacts.h"
#include "toolkit/widgets/Dialogs.h"
#include "simulator/ScopedPortTable.h"
#include "common/ProgramIcons.h"
#include "simulator/SimPty.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <memory>

namespace {

const QString DefaultFailureText =
    QStringLiteral("Не возможно открыть указанный COM порт, возможно он занят другим приложением.");

struct ShownBox {
    QString text;
    QString caption;
    unsigned flags;
};

// Answers every message box with OK and keeps what it was asked to show.
class RecordingDialogs : public IDialogProvider {
public:
    RecordingDialogs() { SetDialogProvider(this); }
    ~RecordingDialogs() override { SetDialogProvider(nullptr); }

    int ShowMessageBox(QWidget *, const QString &text, const QString &caption, unsigned flags) override
    {
        boxes.append({text, caption, flags});
        return IDOK;
    }
    bool ShowFileDialog(QWidget *, TFileDialog &) override { return false; }

    QList<ShownBox> boxes;
};

enum class PortForm { Config, Setup };

std::unique_ptr<TComPortDialog> MakePortDialog(PortForm form, TCustomComPort &port,
                                               std::function<void(const QString &)> panel)
{
    if (form == PortForm::Config)
        return std::make_unique<TFormCOMPortConfig>(port, std::move(panel));
    return std::make_unique<TFormCOMPortSetup>(port, std::move(panel));
}

// How often the device was opened and closed since the last call.
struct DeviceUse {
    int opens = 0;
    int closes = 0;
};
DeviceUse UseOf(qrvsim::SimPty &pty)
{
    DeviceUse use;
    pty.readWatchEvents(use.opens, use.closes);
    return use;
}

using DialogMaker = std::function<std::unique_ptr<QDialog>(QWidget *owner, TCustomComPort &port)>;

} // namespace

Q_DECLARE_METATYPE(PortForm)
Q_DECLARE_METATYPE(DialogMaker)

class TstDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // COM-port dialog
    void portFormLoaded_data();
    void portFormLoaded();
    void busyPortShowsFailureAndStays_data();
    void busyPortShowsFailureAndStays();
    void freePortClosesDialogWithPortClosed_data();
    void freePortClosesDialogWithPortClosed();
    void unlistedPortCannotBeChosen();
    void closingReopensAndCloses_data();
    void closingReopensAndCloses();

    // about box
    void aboutBoxTexts();
    void aboutBoxLinks();
    void mailSubjectIsEncoded();

    // factory-reset countdown
    void countdownOpensFull();
    void countdownRunsOut();
    void offlineEndsCountdownAtOnce();
    void offlineAtTheLastTickDoesNotFinish();
    void cancelEndsCountdown();
    void timerDrivesCountdown();

    // every dialog, whatever window owns it
    void dialogOpensInTheMiddleOfTheScreen_data();
    void dialogOpensInTheMiddleOfTheScreen();
    void portDialogShowsItsCaptionWhole_data();
    void portDialogShowsItsCaptionWhole();

private:
    std::unique_ptr<qrvsim::ScopedPortTable> table_;
    std::unique_ptr<qrvsim::SimPty> com5_;
    std::unique_ptr<qrvsim::SimPty> com6_;
    std::unique_ptr<TComPort> port_;
    QStringList panel_;
    int afterOpens_ = 0;
};

void TstDialogs::init()
{
    table_ = std::make_unique<qrvsim::ScopedPortTable>();
    com5_ = std::make_unique<qrvsim::SimPty>();
    com6_ = std::make_unique<qrvsim::SimPty>();
    QVERIFY(qrvsim::setPortTableEntry(table_->path(), "COM5", com5_->devicePath()));
    QVERIFY(qrvsim::setPortTableEntry(table_->path(), "COM6", com6_->devicePath()));
    QVERIFY(qrvsim::setPortTableEntry(table_->path(), "COM7", table_->path() + ".missing"));

    port_ = std::make_unique<TComPort>();
    port_->SetBaudRate(br19200);
    port_->SetPort("COM5");
    afterOpens_ = 0;
    port_->OnAfterOpen = [this](TCustomComPort *) { ++afterOpens_; };
    panel_.clear();
}

void TstDialogs::cleanup()
{
    port_.reset();
    com5_.reset();
    com6_.reset();
    table_.reset();
}

void TstDialogs::portFormLoaded_data()
{
    QTest::addColumn<PortForm>("form");
    QTest::newRow("configurator") << PortForm::Config;
    QTest::newRow("voice programmer") << PortForm::Setup;
}

void TstDialogs::portFormLoaded()
{
    QFETCH(PortForm, form);
    port_->SetPort("COM6");
    auto dialog = MakePortDialog(form, *port_, nullptr);

    QCOMPARE(dialog->windowTitle(), QString("Выбор COM порта"));
    QCOMPARE(dialog->FailureText, DefaultFailureText);
    QCOMPARE(dialog->Button1->text(), QString("OK"));
    QCOMPARE(dialog->Button2->text(), QString("Cancel"));
    auto *list = dialog->findChild<TComComboBox *>("ComComboBox1");
    QCOMPARE(list, dialog->ComComboBox1);
    QCOMPARE(list->ComPort(), port_.get());
    QCOMPARE(list->Text(), QString("COM6")); // the port's present name
    QCOMPARE(list->itemData(list->findText("COM5"), Qt::ToolTipRole).toString(), com5_->devicePath());

    auto *panel = dialog->findChild<QFrame *>("Panel1");
    if (form == PortForm::Config)
        QCOMPARE(list->parentWidget(), panel);
    else
        QCOMPARE(panel, nullptr);
    QVERIFY(!port_->Connected()); // loading the form opens nothing
    QCOMPARE(UseOf(*com6_).opens, 0);
}

void TstDialogs::busyPortShowsFailureAndStays_data() { portFormLoaded_data(); }

void TstDialogs::busyPortShowsFailureAndStays()
{
    QFETCH(PortForm, form);
    RecordingDialogs boxes;
    TComPort holder; // another program holds COM6
    holder.SetPort("COM6");
    holder.Open();

    auto dialog = MakePortDialog(form, *port_, [this](const QString &text) { panel_ << text; });
    dialog->setWindowTitle("Настройка COM порта");
    dialog->FailureText = "Порт занят";
    dialog->show();
    dialog->ComComboBox1->setCurrentIndex(dialog->ComComboBox1->findText("COM6"));
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);

    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QString("Порт занят"));
    QCOMPARE(boxes.boxes[0].caption, QString("Настройка COM порта"));
    QCOMPARE(boxes.boxes[0].flags, unsigned(MB_OK | MB_ICONWARNING));
    QCOMPARE(panel_, QStringList({"NC"}));
    QVERIFY(dialog->isVisible());
    QVERIFY(!port_->Connected());
    QCOMPARE(port_->Port(), QString("COM5")); // a name that did not open is not kept

    // Cancel: back to the old port, which opens, and is closed again.
    UseOf(*com5_);
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(panel_.last(), QString("COM5"));
    QVERIFY(!port_->Connected());
    const DeviceUse use = UseOf(*com5_);
    QCOMPARE(use.opens, 1);
    QCOMPARE(use.closes, 1);
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY(holder.Connected());
}

void TstDialogs::freePortClosesDialogWithPortClosed_data() { portFormLoaded_data(); }

void TstDialogs::freePortClosesDialogWithPortClosed()
{
    QFETCH(PortForm, form);
    RecordingDialogs boxes;
    auto dialog = MakePortDialog(form, *port_, [this](const QString &text) { panel_ << text; });
    dialog->show();
    dialog->ComComboBox1->setCurrentIndex(dialog->ComComboBox1->findText("COM6"));
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);

    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(port_->Port(), QString("COM6"));
    QVERIFY(!port_->Connected());
    QCOMPARE(panel_.last(), QString("COM6"));
    QVERIFY(!panel_.contains("NC"));
    QCOMPARE(afterOpens_, 1); // the main window's after-open handler ran
    const DeviceUse use = UseOf(*com6_);
    QCOMPARE(use.opens, 1);
    QCOMPARE(use.closes, 1); // left closed: the device is free again
    TComPort next;
    next.SetPort("COM6");
    next.Open();
    QVERIFY(next.Connected());
}

void TstDialogs::unlistedPortCannotBeChosen()
{
    RecordingDialogs boxes;
    port_->SetPort("COM9");
    TFormCOMPortConfig dialog(*port_, [this](const QString &text) { panel_ << text; });
    dialog.show();
    QCOMPARE(dialog.ComComboBox1->Text(), QString()); // nothing selected
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, DefaultFailureText);
    QCOMPARE(panel_, QStringList({"NC"}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(port_->Port(), QString("COM9"));
}

void TstDialogs::closingReopensAndCloses_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<bool>("byCloseBox");
    QTest::addColumn<QString>("panel");

    QTest::newRow("cancel, port opens") << "COM5" << false << "COM5";
    QTest::newRow("close box, port opens") << "COM5" << true << "COM5";
    QTest::newRow("cancel, device missing") << "COM7" << false << "NC";
    QTest::newRow("close box, name not listed") << "COM9" << true << "NC";
}

void TstDialogs::closingReopensAndCloses()
{
    QFETCH(QString, portName);
    QFETCH(bool, byCloseBox);
    QFETCH(QString, panel);

    RecordingDialogs boxes;
    port_->SetPort(portName);
    TFormCOMPortConfig dialog(*port_, [this](const QString &text) { panel_ << text; });
    dialog.show();
    UseOf(*com5_);
    if (byCloseBox)
        QVERIFY(dialog.close());
    else
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(panel_, QStringList({panel}));
    QVERIFY(boxes.boxes.isEmpty()); // closing tells by the panel alone
    QVERIFY(!port_->Connected());
    QCOMPARE(port_->Port(), portName);
    const DeviceUse use = UseOf(*com5_);
    const int expected = portName == "COM5" ? 1 : 0;
    QCOMPARE(use.opens, expected);
    QCOMPARE(use.closes, expected);
}

void TstDialogs::aboutBoxTexts()
{
    QWidget mainWindow;
    mainWindow.setWindowTitle("QRV Configurator");
    TAboutBox box(&mainWindow);
    QCOMPARE(box.windowTitle(), QString("О программе"));
    QCOMPARE(box.VersionLabelPrefix, QString("для версии устройства"));
    QCOMPARE(box.Label3->text(), QString("Ver. 1.2"));
    QCOMPARE(box.OKButton->text(), QString("OK"));
    QVERIFY(box.OKButton->isDefault());
    QCOMPARE(box.ProgramIcon->pixmap().toImage(), ConfiguratorIcon().pixmap(48, 48).toImage());

    box.show();
    QCOMPARE(box.Label1->text(), QString("QRV Configurator"));
    QCOMPARE(box.Label2->text(), QString("для версии устройства S.01.01"));

    // Read anew at every activation: a language file's prefix, a new caption.
    box.VersionLabelPrefix = "for device version";
    mainWindow.setWindowTitle("QRV Configurator 2");
    box.FormActivate();
    QCOMPARE(box.Label1->text(), QString("QRV Configurator 2"));
    QCOMPARE(box.Label2->text(), QString("for device version S.01.01"));

    QTest::mouseClick(box.OKButton, Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TstDialogs::aboutBoxLinks()
{
    QList<QUrl> opened;
    SetLinkOpener([&](const QUrl &url) { opened << url; });
    QWidget mainWindow;
    TAboutBox box(&mainWindow);
    box.show();

    QCOMPARE(box.Label4->text(), MakerWebAddress);
    QCOMPARE(box.Label5->text(), "E-mail: " + SupportMailAddress);
    QCOMPARE(box.Label4->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(box.Label5->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(box.Label4, Qt::LeftButton);
    QTest::mouseClick(box.Label5, Qt::LeftButton);
    QTest::mouseClick(box.Label2, Qt::LeftButton); // no link
    SetLinkOpener(nullptr);

    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0], QUrl(MakerWebAddress));
    QCOMPARE(opened[1].toString(QUrl::FullyEncoded), "mailto:" + SupportMailAddress + "?subject=QRV610");
}

void TstDialogs::mailSubjectIsEncoded()
{
    const QString subject = "QRV240-S-h01.02-ID:00 00 & #1+Контроллер";
    const QUrl url = SupportMailUrl(subject);
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QString("mailto"));
    QCOMPARE(url.path(), SupportMailAddress);
    const QString encoded = url.toString(QUrl::FullyEncoded);
    QVERIFY2(!encoded.contains(' ') && !encoded.contains('#') && !encoded.contains('&'), qPrintable(encoded));
    QCOMPARE(QUrlQuery(url).queryItemValue("subject", QUrl::FullyDecoded), subject);
}

void TstDialogs::countdownOpensFull()
{
    TFormClearConfig dialog([] { return false; });
    QCOMPARE(dialog.windowTitle(), QString("Сброс конфигурации"));
    QVERIFY(dialog.Label1->text().startsWith("Через указанное время будет произведен сброс"));
    QVERIFY(dialog.Label1->wordWrap());
    QCOMPARE(dialog.LabelCountDoenSec->text(), QString("1800 Сек."));
    QCOMPARE(dialog.ProgressBar1->minimum(), 0);
    QCOMPARE(dialog.ProgressBar1->maximum(), 1800);
    QCOMPARE(dialog.ProgressBar1->value(), 1800);
    QCOMPARE(dialog.Button1->text(), QString("Отмена"));
    QCOMPARE(dialog.Timer1->interval(), 1000);
    QVERIFY(dialog.Timer1->isActive());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(dialog.CountdownDone, quint8(0));
}

void TstDialogs::countdownRunsOut()
{
    TFormClearConfig dialog([] { return false; });
    dialog.Timer1->stop(); // the test gives the ticks
    dialog.show();
    dialog.Timer1Timer();
    QCOMPARE(dialog.LabelCountDoenSec->text(), QString("1799 Сек."));
    for (int tick = 2; tick <= 1800; ++tick)
        dialog.Timer1Timer();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.LabelCountDoenSec->text(), QString("0 Сек."));
    QCOMPARE(dialog.ProgressBar1->value(), 0);
    QCOMPARE(dialog.CountdownDone, quint8(0));

    dialog.Timer1Timer(); // the 1801st
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.CountdownDone, quint8(1));
}

void TstDialogs::offlineEndsCountdownAtOnce()
{
    TFormClearConfig dialog([] { return true; });
    dialog.show();
    dialog.Timer1Timer();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.CountdownDone, quint8(0));
    QCOMPARE(dialog.ProgressBar1->value(), 1800); // the closing tick counts nothing
    QCOMPARE(dialog.LabelCountDoenSec->text(), QString("1800 Сек."));
    QVERIFY(!dialog.Timer1->isActive());
}

void TstDialogs::offlineAtTheLastTickDoesNotFinish()
{
    bool offline = false;
    TFormClearConfig dialog([&] { return offline; });
    dialog.Timer1->stop();
    dialog.show();
    for (int tick = 1; tick <= 1800; ++tick)
        dialog.Timer1Timer();
    offline = true; // lost just when the countdown would have run out
    dialog.Timer1Timer();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.CountdownDone, quint8(0));
}

void TstDialogs::cancelEndsCountdown()
{
    TFormClearConfig dialog([] { return false; });
    dialog.Timer1->stop();
    dialog.show();
    for (int tick = 0; tick < 10; ++tick)
        dialog.Timer1Timer();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.CountdownDone, quint8(0));
}

void TstDialogs::timerDrivesCountdown()
{
    int checks = 0;
    TFormClearConfig dialog([&] { return ++checks >= 3; });
    dialog.Timer1->setInterval(1); // the real timer, quicker
    QTimer::singleShot(0, &dialog, [&] { QVERIFY(dialog.isVisible()); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected)); // two ticks count, the third finds the device gone
    QCOMPARE(checks, 3);
    QCOMPARE(dialog.ProgressBar1->value(), 1798);
    QCOMPARE(dialog.CountdownDone, quint8(0));
}

void TstDialogs::dialogOpensInTheMiddleOfTheScreen_data()
{
    // One screen: its middle is the desktop's too.
    QTest::addColumn<DialogMaker>("make");
    QTest::newRow("COM port, configurator") << DialogMaker([](QWidget *owner, TCustomComPort &port) {
        return std::unique_ptr<QDialog>(new TFormCOMPortConfig(port, nullptr, owner));
    });
    QTest::newRow("COM port, voice programmer") << DialogMaker([](QWidget *owner, TCustomComPort &port) {
        return std::unique_ptr<QDialog>(new TFormCOMPortSetup(port, nullptr, owner));
    });
    QTest::newRow("about box") << DialogMaker([](QWidget *owner, TCustomComPort &) {
        return std::unique_ptr<QDialog>(new TAboutBox(owner));
    });
    QTest::newRow("factory-reset countdown") << DialogMaker([](QWidget *owner, TCustomComPort &) {
        return std::unique_ptr<QDialog>(new TFormClearConfig([] { return false; }, owner));
    });
}

void TstDialogs::dialogOpensInTheMiddleOfTheScreen()
{
    QFETCH(DialogMaker, make);
    // A main window in a corner of the screen, much smaller than it.
    QWidget mainWindow;
    // A long title: the about box grows to show it as it opens.
    mainWindow.setWindowTitle(QStringLiteral("Конфигуратор GSM контроллера QRV240, длинный заголовок окна"));
    mainWindow.setGeometry(10, 10, 320, 200);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    const QRect screen = mainWindow.screen()->availableGeometry();
    QVERIFY(screen.width() > 2 * mainWindow.width());

    const std::unique_ptr<QDialog> dialog = make(&mainWindow, *port_);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const QPoint off = dialog->frameGeometry().center() - screen.center();
    QVERIFY2(off.manhattanLength() <= 2, qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
    dialog->reject();
}

void TstDialogs::portDialogShowsItsCaptionWhole_data()
{
    QTest::addColumn<PortForm>("form");
    QTest::addColumn<QString>("caption");
    const QString own = QStringLiteral("Выбор COM порта");
    const QString translated = QStringLiteral("Выбор последовательного порта для связи с контроллером");
    QTest::newRow("configurator") << PortForm::Config << own;
    QTest::newRow("voice programmer") << PortForm::Setup << own;
    QTest::newRow("voice programmer, language file") << PortForm::Setup << translated;
}

// The window manager's title bar has room for the caption in bold beside
// the frame's icon and three buttons, each about as wide as the bar is high.
void TstDialogs::portDialogShowsItsCaptionWhole()
{
    QFETCH(PortForm, form);
    QFETCH(QString, caption);
    auto dialog = MakePortDialog(form, *port_, nullptr);
    dialog->setWindowTitle(caption);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QFont bold = dialog->font();
    bold.setBold(true);
    const int bar = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog.get());
    QVERIFY2(dialog->width() >= QFontMetrics(bold).horizontalAdvance(caption) + 4 * bar,
             qPrintable(QString::number(dialog->width())));
    dialog->reject();
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
