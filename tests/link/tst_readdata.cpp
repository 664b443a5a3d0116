#include "configurator/core/ConfiguratorPort.h"
#include "serial/ComPort.h"
#include "simulator/ControllerSimulator.h"
#include "simulator/ScopedPortTable.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordingViews.h"
#include "link/Readdata.h"
#include "toolkit/widgets/WidgetViews.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <memory>
#include <mutex>

using qrvsim::ControllerSimulator;
using qrvsim::Fault;
using qrvsim::FrameRecord;

namespace {

const QString Com = QStringLiteral("COM7");

QString Msg(int index)
{
    QStringList list;
    FillStatusMessages(&list);
    return list.at(index);
}

void ConfigureAsConfigurator(TComPort &port, const QString &com)
{
    port.SetPort(com);
    SetConfiguratorPortSettings(port);
}

int Run(TReadData &worker)
{
    worker.SetPriority(TThreadPriority::tpNormal);
    worker.Resume();
    return worker.WaitFor();
}

QList<FrameRecord> FramesOf(const ControllerSimulator &sim, int command)
{
    QList<FrameRecord> frames;
    for (const FrameRecord &r : sim.log())
        if (r.kind == FrameRecord::Kind::Frame && r.command == command)
            frames << r;
    return frames;
}

int BinaryTexts(const ControllerSimulator &sim)
{
    int n = 0;
    for (const FrameRecord &r : sim.log())
        n += r.kind == FrameRecord::Kind::BinaryMode;
    return n;
}

// The connection sent no frame. (Its binary-mode text may never reach the
// simulator: a pseudo-terminal reports written bytes as gone at once, and the
// close that follows drops what is still queued.)
void ExpectBinaryTextOnly(const ControllerSimulator &sim)
{
    const bool frameSeen = sim.waitUntil(
        [](const QList<FrameRecord> &log) {
            for (const FrameRecord &r : log)
                if (r.kind == FrameRecord::Kind::Frame)
                    return true;
            return false;
        },
        300);
    QVERIFY(!frameSeen);
}

enum class Op { Identify, Restart, AreaWrite, AreaRead };

} // namespace

class TstReadData : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void identifyConversation();
    void readConfigImageInBlocks();
    void programAndVerifyShowsItsSteps();
    void programReadBackDiffers();
    void compare_data();
    void compare();
    void failureTable_data();
    void failureTable();
    void failureInLastBlockLeavesDataUnchanged();
    void invalidAreaSendsNothing_data();
    void invalidAreaSendsNothing();
    void areaSixFollowsTheProgramsTable();
    void emptyAndWholeBlockTransfers();
    void operationOutOfRangeOnlyOpensAndCloses_data();
    void operationOutOfRangeOnlyOpensAndCloses();
    void missingPortCannotBeOpened();
    void failingOpenLeftOpenSendsNothing_data();
    void failingOpenLeftOpenSendsNothing();
    void oversizeFrameRefusedBeforeSending_data();
    void oversizeFrameRefusedBeforeSending();
    void creatorsMessagesAndShortListFallback();
    void labelUpdatesReachARealLabelInOrder();
    void deletingARunningWorkerWaitsForItsEnd();

private:
    std::unique_ptr<qrvsim::ScopedPortTable> table_;
    std::unique_ptr<ControllerSimulator> sim_;
    std::unique_ptr<TComPort> port_;
};

void TstReadData::init()
{
    SelectMemoryAreaTable(MemoryAreaTable::Configurator);
    table_ = std::make_unique<qrvsim::ScopedPortTable>();
    sim_ = std::make_unique<ControllerSimulator>(Com, table_->path());
    port_ = std::make_unique<TComPort>();
    ConfigureAsConfigurator(*port_, Com);
}

void TstReadData::cleanup()
{
    port_.reset();
    sim_.reset();
    table_.reset();
    SelectMemoryAreaTable(MemoryAreaTable::Configurator);
}

void TstReadData::identifyConversation()
{
    RecordingStatus status;
    QByteArray identity(88, 0);
    TReadData worker(true, opIdentify, identity.data(), 88, port_.get(), &status);
    QCOMPARE(Run(worker), 0);
    QCOMPARE(identity, sim_->identityBytes());
    QCOMPARE(status.texts(), (QStringList{Msg(1), Msg(10)}));
    QCOMPARE(status.shown().at(0).colour, clBlack);
    QCOMPARE(status.last().colour, clBlue);

    const QList<FrameRecord> log = sim_->log();
    QCOMPARE(log.size(), 2);
    QVERIFY(log[0].kind == FrameRecord::Kind::BinaryMode);
    QCOMPARE(int(log[1].command), 0x05);
    QVERIFY(log[1].payload.isEmpty());
    QVERIFY(!port_->Connected());
    QVERIFY(!sim_->isPortOpen());
}

void TstReadData::readConfigImageInBlocks()
{
    const QByteArray image = Pattern(5292, 3);
    QVERIFY(sim_->setArea(1, image));
    RecordingStatus status;
    RecordingProgress progress;
    QByteArray data(5292, 0);
    TReadData worker(true, opReadArea, maConfigImage, data.data(), 5292, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 0);
    QCOMPARE(data, image);
    QCOMPARE(status.texts(), (QStringList{Msg(1), Msg(4), Msg(7)}));
    QCOMPARE(status.last().colour, clBlue);

    const QList<FrameRecord> reads = FramesOf(*sim_, 0x07);
    QCOMPARE(reads.size(), 21);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(reads[i].address, quint32(256 * i));
        QCOMPARE(int(reads[i].count), 256);
    }
    QCOMPARE(reads[20].address, quint32(0x1400));
    QCOMPARE(int(reads[20].count), 172);
    QCOMPARE(progress.max(), 5292);
    QCOMPARE(progress.positions().first(), 0);
    QCOMPARE(progress.positions().last(), 5292);
}

void TstReadData::programAndVerifyShowsItsSteps()
{
    const QByteArray image = Pattern(5292, 9);
    RecordingStatus status;
    RecordingProgress progress;
    QByteArray data = image;
    TReadData worker(true, opProgramArea, maConfigImage, data.data(), 5292, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 0);
    QCOMPARE(sim_->area(1), image);
    QCOMPARE(data, image);
    QCOMPARE(status.texts(), (QStringList{Msg(1), Msg(2), Msg(4), Msg(5)}));
    QCOMPARE(status.last().colour, clBlue);
    QCOMPARE(FramesOf(*sim_, 0x06).size(), 21);
    QCOMPARE(FramesOf(*sim_, 0x07).size(), 21);
    // One binary-mode text per connection, also for the read-back.
    QCOMPARE(BinaryTexts(*sim_), 1);
}

void TstReadData::programReadBackDiffers()
{
    const QByteArray image = Pattern(5292, 1);
    sim_->setFault(Fault::flipReadData(4000, 0x07));
    RecordingStatus status;
    RecordingProgress progress;
    QByteArray data = image;
    TReadData worker(true, opProgramArea, maConfigImage, data.data(), 5292, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 1);
    QCOMPARE(status.last().text, Msg(6));
    QCOMPARE(status.last().colour, clRed);
    QCOMPARE(sim_->area(1), image);
}

void TstReadData::compare_data()
{
    QTest::addColumn<bool>("same");
    QTest::newRow("equal") << true;
    QTest::newRow("different") << false;
}

void TstReadData::compare()
{
    QFETCH(bool, same);
    const QByteArray image = Pattern(5292, 5);
    QVERIFY(sim_->setArea(1, image));
    QByteArray data = image;
    if (!same)
        data[5291] = char(~data[5291]);
    const QByteArray before = data;
    RecordingStatus status;
    RecordingProgress progress;
    TReadData worker(true, opCompareArea, maConfigImage, data.data(), 5292, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), same ? 0 : 1);
    QCOMPARE(status.texts(), (QStringList{Msg(1), Msg(4), Msg(same ? 8 : 9)}));
    QCOMPARE(status.last().colour, same ? clBlue : clRed);
    QCOMPARE(data, before);
    QVERIFY(FramesOf(*sim_, 0x06).isEmpty());
}

void TstReadData::failureTable_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("message"); // -1: success
    QTest::addColumn<int>("sends");

    struct Row {
        const char *name;
        Op op;
        Fault::Kind kind;
        int value;
        int message;
        int sends;
    };
    const Row rows[] = {
        {"read: no reply", Op::Identify, Fault::NoReply, 0, 14, 3},
        {"read: short reply", Op::Identify, Fault::ShortReply, 0, 13, 3},
        {"read: answered on third send", Op::Identify, Fault::ReplyOnlyOnSend, 3, -1, 3},
        {"read: bad checksum, no resend", Op::Identify, Fault::BadChecksum, 0, 16, 1},
        {"read: wrong echo", Op::Identify, Fault::WrongEcho, 1, 17, 1},
        {"read: wrong length field accepted", Op::Identify, Fault::WrongEcho, 2, -1, 1},
        {"send: no reply", Op::Restart, Fault::NoReply, 0, 14, 3},
        {"send: short reply", Op::Restart, Fault::ShortReply, 0, 13, 3},
        {"send: bad checksum", Op::Restart, Fault::BadChecksum, 0, 16, 1},
        {"send: wrong echo", Op::Restart, Fault::WrongEcho, 1, 17, 1},
        {"send: status 1", Op::Restart, Fault::Status, 1, 18, 1},
        {"send: status 2", Op::Restart, Fault::Status, 2, 19, 1},
        {"send: status 3", Op::Restart, Fault::Status, 3, 17, 1},
        {"area write: no reply", Op::AreaWrite, Fault::NoReply, 0, 14, 3},
        {"area write: short reply", Op::AreaWrite, Fault::ShortReply, 0, 13, 3},
        {"area write: bad checksum", Op::AreaWrite, Fault::BadChecksum, 0, 16, 1},
        {"area write: wrong echo", Op::AreaWrite, Fault::WrongEcho, 1, 17, 1},
        {"area write: address echo", Op::AreaWrite, Fault::WrongEcho, 5, 17, 1},
        {"area write: status 1", Op::AreaWrite, Fault::Status, 1, 18, 1},
        {"area write: status 2", Op::AreaWrite, Fault::Status, 2, 17, 1},
        {"area read: no reply", Op::AreaRead, Fault::NoReply, 0, 15, 3},
        {"area read: short reply", Op::AreaRead, Fault::ShortReply, 0, 15, 3},
        {"area read: bad checksum", Op::AreaRead, Fault::BadChecksum, 0, 16, 1},
        {"area read: count echo", Op::AreaRead, Fault::WrongEcho, 8, 17, 1},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << int(r.op) << int(r.kind) << r.value << r.message << r.sends;
}

void TstReadData::failureTable()
{
    QFETCH(int, op);
    QFETCH(int, kind);
    QFETCH(int, value);
    QFETCH(int, message);
    QFETCH(int, sends);

    const int commands[] = {0x05, 0x10, 0x12, 0x13};
    const int command = commands[op];
    Fault fault{Fault::Kind(kind), command, Fault::Always, value, 0};
    sim_->setFault(fault);

    RecordingStatus status;
    RecordingProgress progress;
    QByteArray data(88, 0);
    const std::uint8_t zero = 0;
    std::unique_ptr<TReadData> worker;
    switch (Op(op)) {
    case Op::Identify:
        worker = std::make_unique<TReadData>(true, opIdentify, data.data(), 88, port_.get(), &status);
        break;
    case Op::Restart:
        worker = std::make_unique<TReadData>(true, opRestart, const_cast<std::uint8_t *>(&zero), 1, port_.get(), &status);
        break;
    case Op::AreaWrite:
        data = Pattern(8, 2);
        worker = std::make_unique<TReadData>(true, opProgramArea, maSystemParameters, data.data(), 8, 0, port_.get(),
                                             &progress, &status);
        break;
    case Op::AreaRead:
        data.fill(0, 8);
        worker = std::make_unique<TReadData>(true, opReadArea, maSystemParameters, data.data(), 8, 0, port_.get(),
                                             &progress, &status);
        break;
    }
    const int result = Run(*worker);
    QCOMPARE(FramesOf(*sim_, command).size(), sends);
    if (message < 0) {
        QCOMPARE(result, 0);
        QCOMPARE(status.last().colour, clBlue);
    } else {
        QCOMPARE(result, 1);
        QCOMPARE(status.last().text, Msg(message));
        QCOMPARE(status.last().colour, clRed);
    }
    QVERIFY(!sim_->isPortOpen());
}

void TstReadData::failureInLastBlockLeavesDataUnchanged()
{
    QVERIFY(sim_->setArea(1, Pattern(5292, 4)));
    sim_->setFault(Fault::noReply(0x07).after(20));
    QByteArray data(5292, char(0x11));
    RecordingStatus status;
    RecordingProgress progress;
    TReadData worker(true, opReadArea, maConfigImage, data.data(), 5292, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 1);
    QCOMPARE(data, QByteArray(5292, char(0x11)));
    QCOMPARE(status.last().text, Msg(15));
    QCOMPARE(FramesOf(*sim_, 0x07).size(), 23);
}

void TstReadData::invalidAreaSendsNothing_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("operation");
    QTest::newRow("area 0 read") << 0 << int(opReadArea);
    QTest::newRow("area 7 read") << 7 << int(opReadArea);
    QTest::newRow("area -1 program") << -1 << int(opProgramArea);
}

void TstReadData::invalidAreaSendsNothing()
{
    QFETCH(int, area);
    QFETCH(int, operation);
    QByteArray data(16, 0);
    RecordingStatus status;
    RecordingProgress progress;
    TReadData worker(true, std::int8_t(operation), std::int8_t(area), data.data(), 16, 0, port_.get(), &progress,
                     &status);
    QCOMPARE(Run(worker), 1);
    QCOMPARE(status.last().text, QStringLiteral("Ошибка идентификатора области FLASH памяти"));
    QCOMPARE(status.last().colour, clRed);
    ExpectBinaryTextOnly(*sim_);
}

void TstReadData::areaSixFollowsTheProgramsTable()
{
    QByteArray data(16, 0);
    RecordingStatus status;
    RecordingProgress progress;
    {
        TReadData worker(true, opReadArea, maArea6, data.data(), 16, 0, port_.get(), &progress, &status);
        Run(worker);
    }
    QCOMPARE(FramesOf(*sim_, 0x0B).size(), 3);
    SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer);
    {
        TReadData worker(true, opReadArea, maArea6, data.data(), 16, 0, port_.get(), &progress, &status);
        Run(worker);
    }
    QCOMPARE(FramesOf(*sim_, 0x17).size(), 3);
}

void TstReadData::emptyAndWholeBlockTransfers()
{
    RecordingStatus status;
    RecordingProgress progress;
    QByteArray none;
    {
        TReadData worker(true, opReadArea, maSystemParameters, none.data(), 0, 0, port_.get(), &progress, &status);
        QCOMPARE(Run(worker), 0);
    }
    const QList<FrameRecord> empty = FramesOf(*sim_, 0x13);
    QCOMPARE(empty.size(), 1);
    QCOMPARE(int(empty[0].count), 0);

    const QByteArray voice = Pattern(512, 8);
    QVERIFY(sim_->setArea(2, voice));
    QByteArray data(512, 0);
    TReadData worker(true, opReadArea, maVoiceImage, data.data(), 512, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 0);
    QCOMPARE(data, voice);
    const QList<FrameRecord> blocks = FramesOf(*sim_, 0x02);
    QCOMPARE(blocks.size(), 2);
    QCOMPARE(int(blocks[1].count), 256);
}

void TstReadData::operationOutOfRangeOnlyOpensAndCloses_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("12") << 12;
    QTest::newRow("-1") << -1;
}

void TstReadData::operationOutOfRangeOnlyOpensAndCloses()
{
    QFETCH(int, operation);
    RecordingStatus status;
    QByteArray data(8, 0);
    const int opens = sim_->portOpenCount();
    TReadData worker(true, std::int8_t(operation), data.data(), 8, port_.get(), &status);
    QCOMPARE(Run(worker), 1);
    QVERIFY(status.shown().isEmpty());
    QCOMPARE(sim_->portOpenCount(), opens + 1);
    QVERIFY(!sim_->isPortOpen());
    QVERIFY(!sim_->waitForLogSize(1, 200));
}

void TstReadData::missingPortCannotBeOpened()
{
    port_->SetPort(QStringLiteral("COM9"));
    RecordingStatus status;
    QByteArray data(88, 0);
    TReadData worker(true, opIdentify, data.data(), 88, port_.get(), &status);
    QCOMPARE(Run(worker), 1);
    QCOMPARE(status.texts(), QStringList{Msg(0) + QStringLiteral("COM9")});
    QCOMPARE(status.last().colour, clRed);
    QCOMPARE(data, QByteArray(88, 0));
}

void TstReadData::failingOpenLeftOpenSendsNothing_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("length");
    QTest::newRow("identify") << int(opIdentify) << 88;
    QTest::newRow("area read") << int(opReadArea) << 5292;
}

// Open raises after the device was opened: its OnAfterOpen handler failed.
void TstReadData::failingOpenLeftOpenSendsNothing()
{
    QFETCH(int, operation);
    QFETCH(int, length);
    port_->OnAfterOpen = [](TCustomComPort *) { throw std::runtime_error("lines refused"); };
    RecordingStatus status;
    QByteArray data(length, 0x5A);
    const auto worker = operation == opIdentify
                            ? std::make_unique<TReadData>(true, opIdentify, data.data(), length, port_.get(), &status)
                            : std::make_unique<TReadData>(true, opReadArea, maConfigImage, data.data(), length, 0,
                                                          port_.get(), nullptr, &status);
    QCOMPARE(Run(*worker), 1);
    QCOMPARE(status.texts(), QStringList{Msg(0) + Com});
    QCOMPARE(status.last().colour, clRed);
    QVERIFY(!port_->Connected());
    QVERIFY(!sim_->isPortOpen());
    QVERIFY(!sim_->waitForLogSize(1, 200));
    QCOMPARE(data, QByteArray(length, 0x5A));
}

void TstReadData::oversizeFrameRefusedBeforeSending_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("length");
    QTest::newRow("payload 296") << int(opSendPassword) << 296;
    QTest::newRow("reply 296") << int(opRead15) << 296;
    QTest::newRow("negative") << int(opControl) << -1;
}

void TstReadData::oversizeFrameRefusedBeforeSending()
{
    QFETCH(int, operation);
    QFETCH(int, length);
    QByteArray data(400, char(0x5A));
    RecordingStatus status;
    TReadData worker(true, std::int8_t(operation), data.data(), length, port_.get(), &status);
    QCOMPARE(Run(worker), 1);
    QCOMPARE(status.last().text, Msg(13));
    QCOMPARE(status.last().colour, clRed);
    ExpectBinaryTextOnly(*sim_);
    QCOMPARE(data, QByteArray(400, char(0x5A)));
}

void TstReadData::creatorsMessagesAndShortListFallback()
{
    QStringList full;
    for (int i = 0; i < 20; ++i)
        full << QStringLiteral("text %1").arg(i);
    RecordingStatus status;
    QByteArray data(88, 0);
    {
        TReadData worker(true, opIdentify, data.data(), 88, port_.get(), &status);
        worker.SetMessages(&full);
        QCOMPARE(Run(worker), 0);
    }
    QCOMPARE(status.texts(), (QStringList{"text 1", "text 10"}));

    const QStringList shortList = full.mid(0, 5);
    RecordingStatus status2;
    TReadData worker(true, opIdentify, data.data(), 88, port_.get(), &status2);
    worker.SetMessages(&shortList);
    QCOMPARE(Run(worker), 0);
    QCOMPARE(status2.texts(), (QStringList{"text 1", Msg(10)}));
}

namespace {
class PaintLog : public QLabel {
public:
    QStringList painted;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        if (painted.isEmpty() || painted.last() != text())
            painted << text();
        QLabel::paintEvent(e);
    }
};
} // namespace

void TstReadData::labelUpdatesReachARealLabelInOrder()
{
    QWidget window;
    auto *label = new PaintLog;
    label->setParent(&window);
    label->resize(600, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    label->painted.clear();

    LabelStatus status(label);
    RecordingProgress progress;
    QByteArray data = Pattern(8, 6);
    TReadData worker(true, opProgramArea, maSystemParameters, data.data(), 8, 0, port_.get(), &progress, &status);
    QCOMPARE(Run(worker), 0);
    QStringList shown = label->painted;
    shown.removeAll(QString());
    QCOMPARE(shown, (QStringList{Msg(1), Msg(2), Msg(4), Msg(5)}));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

void TstReadData::deletingARunningWorkerWaitsForItsEnd()
{
    sim_->setFault(Fault::noReply(0x05));
    RecordingStatus status;
    QByteArray data(88, 0);
    {
        TReadData worker(true, opIdentify, data.data(), 88, port_.get(), &status);
        worker.Resume();
    }
    QCOMPARE(status.last().text, Msg(14));
    QVERIFY(!port_->Connected());
    QVERIFY(!sim_->isPortOpen());
}

QTEST_MAIN(TstReadData)
#include "tst_readdata.moc"
