// The port selector: its lists, how it follows the bound port, what a pick
// does, and how it lets go of a port that is destroyed.
#include "serial/widgets/ComComboBox.h"
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"
#include "tests/serial/PtyPeer.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

// The table's names among the listed ones, in list order (the machine may
// add its own serial devices to the list).
QStringList Among(const QComboBox &box, const QStringList &names)
{
    QStringList found;
    for (int i = 0; i < box.count(); ++i) {
        if (names.contains(box.itemText(i)))
            found << box.itemText(i);
    }
    return found;
}

QStringList ItemsOf(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

// A port with a non-default value in every setting the selector offers.
void SetNonDefaults(TCustomComPort &port)
{
    port.SetBaudRate(br19200);
    port.SetDataBits(dbSeven);
    port.SetStopBits(sbOne5StopBits);
    port.Parity()->SetBits(prMark);
    port.FlowControl()->SetFlowControl(fcHardware);
}

} // namespace

class TstComSelect : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void portListSortedWithDevicesAsTips();
    void lowerCasePortSelectsListedName();
    void unlistedPortSelectsNothing();
    void settingLists_data();
    void settingLists();
    void textSelectsIgnoringCase();
    void pickWithoutAutoApplyChangesNothing();
    void pickWithAutoApplyReachesPort();
    void applyWithoutPendingValueKeepsPort();
    void refusedAutoApplyIsReported();
    void destroyedPortIsUnbound();
    void freeNoticeOncePerLiveClient();

private:
    std::unique_ptr<PortTableFile> table_;
};

void TstComSelect::init()
{
    const QString dir = QDir::tempPath();
    table_ = std::make_unique<PortTableFile>(QStringLiteral("COM3 %1/qrv-sel-a\nCOM1 %1/qrv-sel-b\n"
                                                            "# a comment\nCOM12 %1/qrv-sel-c\n")
                                                 .arg(dir));
}

void TstComSelect::cleanup() { table_.reset(); }

void TstComSelect::portListSortedWithDevicesAsTips()
{
    TComComboBox box;
    box.SetComProperty(cpPort);
    QCOMPARE(Among(box, {"COM1", "COM3", "COM12"}), QStringList({"COM1", "COM12", "COM3"}));
    QCOMPARE(box.currentIndex(), 0); // nothing bound: the first item
    const int com12 = box.findText("COM12");
    QCOMPARE(box.itemData(com12, Qt::ToolTipRole).toString(), QDir::tempPath() + "/qrv-sel-c");
    QVERIFY(!box.isEditable());
}

void TstComSelect::lowerCasePortSelectsListedName()
{
    TComPort port;
    port.SetPort("com3");
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetComPort(&port);
    QCOMPARE(box.Text(), QString("COM3"));
    QCOMPARE(box.Select().Pending().Port, std::optional<QString>("COM3"));
    QCOMPARE(port.Port(), QString("com3")); // binding changes nothing on the port
}

void TstComSelect::unlistedPortSelectsNothing()
{
    TComPort port;
    port.SetPort("COM7");
    TComComboBox box;
    box.SetComPort(&port);
    box.SetComProperty(cpPort);
    QCOMPARE(box.currentIndex(), -1);
    QCOMPARE(box.Text(), QString());
    QVERIFY(!box.Select().Pending().Port.has_value());
}

void TstComSelect::settingLists_data()
{
    QTest::addColumn<int>("property");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("selected");

    QTest::newRow("none") << int(cpNone) << QStringList() << QString();
    QTest::newRow("baud rate") << int(cpBaudRate)
                               << QStringList({"Custom", "110", "300", "600", "1200", "2400", "4800", "9600",
                                               "14400", "19200", "38400", "56000", "57600", "115200", "128000",
                                               "256000"})
                               << "19200";
    QTest::newRow("data bits") << int(cpDataBits) << QStringList({"5", "6", "7", "8"}) << "7";
    QTest::newRow("stop bits") << int(cpStopBits) << QStringList({"1", "1.5", "2"}) << "1.5";
    QTest::newRow("parity") << int(cpParity) << QStringList({"None", "Odd", "Even", "Mark", "Space"}) << "Mark";
    QTest::newRow("flow control") << int(cpFlowControl)
                                  << QStringList({"Hardware", "Software", "None", "Custom"}) << "Hardware";
}

void TstComSelect::settingLists()
{
    QFETCH(int, property);
    QFETCH(QStringList, items);
    QFETCH(QString, selected);

    TComPort port;
    SetNonDefaults(port);
    TComComboBox box;
    box.SetComPort(&port);
    box.SetComProperty(TComProperty(property));
    QCOMPARE(ItemsOf(box), items);
    QCOMPARE(box.Text(), selected);

    // Without a port the first item is taken.
    TComComboBox unbound;
    unbound.SetComProperty(TComProperty(property));
    QCOMPARE(unbound.Text(), items.value(0));
}

void TstComSelect::textSelectsIgnoringCase()
{
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetText("com12");
    QCOMPARE(box.Text(), QString("COM12"));
    box.SetText("COM99");
    QCOMPARE(box.Text(), QString("COM12"));
    box.setCurrentIndex(-1);
    QCOMPARE(box.Text(), QString());
}

void TstComSelect::pickWithoutAutoApplyChangesNothing()
{
    TComPort port;
    port.SetPort("COM1");
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetComPort(&port);
    int changes = 0;
    connect(&box, &QComboBox::activated, &box, [&] {
        ++changes;
        QCOMPARE(box.Select().Pending().Port, std::optional<QString>("COM12")); // stored before the handler
    });
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.Text(), QString("COM12"));
    QCOMPARE(changes, 1);
    QCOMPARE(port.Port(), QString("COM1"));

    box.ApplySettings();
    QCOMPARE(port.Port(), QString("COM12"));
}

void TstComSelect::pickWithAutoApplyReachesPort()
{
    struct Case {
        TComProperty property;
        QString pick;
        std::function<bool(const TComPort &)> applied;
    };
    const Case cases[] = {
        {cpPort, "COM12", [](const TComPort &p) { return p.Port() == "COM12"; }},
        {cpBaudRate, "57600", [](const TComPort &p) { return p.BaudRate() == br57600; }},
        {cpDataBits, "6", [](const TComPort &p) { return p.DataBits() == dbSix; }},
        {cpStopBits, "2", [](const TComPort &p) { return p.StopBits() == sbTwoStopBits; }},
        {cpParity, "Odd", [](const TComPort &p) { return p.Parity()->Bits() == prOdd; }},
        {cpFlowControl, "Software", [](const TComPort &p) { return p.FlowControl()->FlowControl() == fcSoftware; }},
    };
    for (const Case &c : cases) {
        TComPort port;
        SetNonDefaults(port);
        TComComboBox box;
        box.SetComProperty(c.property);
        box.SetComPort(&port);
        box.SetAutoApply(true);
        QVERIFY(!c.applied(port));
        box.SetText(c.pick);
        QVERIFY2(!c.applied(port), qPrintable(c.pick)); // only a pick applies
        emit box.activated(box.currentIndex());
        QVERIFY2(c.applied(port), qPrintable(c.pick));
    }
}

void TstComSelect::applyWithoutPendingValueKeepsPort()
{
    TComPort port;
    port.SetPort("COM7"); // not listed: nothing picked, nothing pending
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetComPort(&port);
    box.ApplySettings();
    QCOMPARE(port.Port(), QString("COM7"));
}

void TstComSelect::refusedAutoApplyIsReported()
{
    PtyPeer peer;
    QVERIFY(peer.IsValid());
    PortTableFile table(QStringLiteral("COM5 %1\nCOM6 %2/qrv-sel-missing\n").arg(peer.SlavePath(), QDir::tempPath()));
    QStringList reports;
    SetExceptionReporter([&](const QString &message) { reports << message; });

    TComPort port;
    port.SetPort("COM5");
    port.Open();
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetComPort(&port);
    box.SetAutoApply(true);
    box.SetText("COM6");
    emit box.activated(box.currentIndex()); // the open port moves to a device that is not there

    SetExceptionReporter(nullptr);
    QCOMPARE(reports.size(), 1);
    QVERIFY(!port.Connected());
    QCOMPARE(port.Port(), QString("COM6"));
}

void TstComSelect::destroyedPortIsUnbound()
{
    auto port = std::make_unique<TComPort>();
    port->SetPort("COM3");
    TComComboBox box;
    box.SetComProperty(cpPort);
    box.SetComPort(port.get());
    QCOMPARE(box.Text(), QString("COM3"));
    port.reset();
    QCOMPARE(box.ComPort(), nullptr);
    QCOMPARE(box.currentIndex(), 0);
    box.ApplySettings(); // no port: nothing
    box.UpdateSettings();
    QCOMPARE(box.currentIndex(), 0);
}

void TstComSelect::freeNoticeOncePerLiveClient()
{
    int kept = 0;
    int replaced = 0;
    int removed = 0;
    const int keeper = 0, other = 0, gone = 0;
    {
        TComPort port;
        port.FreeNotification(&other, [&](TCustomComPort *) { ++replaced; });
        port.FreeNotification(&other, [&](TCustomComPort *p) { kept += (p == &port) ? 10 : 1000; });
        port.FreeNotification(&gone, [&](TCustomComPort *) { ++removed; });
        port.FreeNotification(&keeper, [&](TCustomComPort *) { ++kept; });
        {
            TComComboBox box;
            box.SetComProperty(cpPort);
            TComPort first;
            box.SetComPort(&first);
            box.SetComPort(&port); // rebinding lets go of the first port
        } // and a destroyed selector lets go of the second
        port.RemoveFreeNotification(&gone);
    }
    QCOMPARE(kept, 11);
    QCOMPARE(replaced, 0);
    QCOMPARE(removed, 0);
}

QTEST_MAIN(TstComSelect)
#include "tst_comselect.moc"
