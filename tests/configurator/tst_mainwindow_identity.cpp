// The identity display and the model and version gate, in the main window
// and on a bare window such as the voice programmer's.
#include "simulator/ControllerSimulator.h"
#include "common/IdentityDisplay.h"
#include "tests/configurator/MainWindowFixture.h"
#include "configurator/core/SupportedVersions.h"

#include <QTest>

#include <cstring>

namespace {

DeviceIdentity ToRecord(const qrvsim::SimIdentity &identity)
{
    const QByteArray bytes = identity.toBytes();
    DeviceIdentity record{};
    std::memcpy(record.data(), bytes.constData(), std::min<std::size_t>(record.size(), std::size_t(bytes.size())));
    return record;
}

using Edit = std::function<void(qrvsim::SimIdentity &)>;

const QString UniquePlaceholder = QStringLiteral("- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -");
const QString BoundPlaceholder = QString(48, QLatin1Char(' ')) + QLatin1Char('-');

} // namespace

Q_DECLARE_METATYPE(Edit)

class TstMainWindowIdentity : public QObject {
    Q_OBJECT
private slots:
    void labelsShowTheRecord_data();
    void labelsShowTheRecord();
    void gateJudgesWhatIsShown_data();
    void gateJudgesWhatIsShown();
    void emptyIdentityFailsBothTests();
    void worksOnAnyWindow();
};

void TstMainWindowIdentity::labelsShowTheRecord_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    using I = qrvsim::SimIdentity;
    QTest::newRow("name of nine bytes") << Edit([](I &i) { i.deviceName = "QRV240XYZ"; }) << "iDeviceNameLabel"
                                        << "QRV240XY";
    QTest::newRow("modification in Windows-1251") << Edit([](I &i) { i.modification = "\xD1\xCF"; })
                                                  << "iModificationLabel" << "СП";
    QTest::newRow("hardware 0") << Edit([](I &i) { i.hardwareVersion = 0; }) << "iHardVerLabel" << "--.--";
    QTest::newRow("hardware 00FF") << Edit([](I &i) { i.hardwareVersion = 0x00FF; }) << "iHardVerLabel" << "00.FF";
    QTest::newRow("firmware 0A1F") << Edit([](I &i) { i.firmwareVersion = 0x0A1F; }) << "iSoftVerLabel" << "0A.1F";
    QTest::newRow("boot loader 0100") << Edit([](I &i) { i.bootLoaderVersion = 0x0100; }) << "iBLLabel" << "01.00";
    QTest::newRow("date of twelve bytes") << Edit([](I &i) { i.date = "01.02.2013xyz"; }) << "iDateLabel"
                                          << "01.02.2013x";
    QTest::newRow("country code") << Edit([](I &i) { i.countryCode = "RUSX"; }) << "iLabelCountryCode" << "RUS";
    QTest::newRow("imei") << Edit([](I &i) { i.imei = "356938035643809"; }) << "iGSMIMEILabel" << "356938035643809";
    QTest::newRow("bound: last word 1") << Edit([](I &i) { i.boundIdentifier = {0, 0, 0, 1}; }) << "iLabelDevSNLocked"
                                        << "00000000 00000000 00000000 00000001";
    QTest::newRow("bound: words of the example")
        << Edit([](I &i) { i.boundIdentifier = {1, 0xABCD, 0x10000, 0xFFFFFFFF}; }) << "iLabelDevSNLocked"
        << "00000001 0000ABCD 00010000 FFFFFFFF";
    QTest::newRow("bound: none") << Edit([](I &i) { i.boundIdentifier = {}; }) << "iLabelDevSNLocked"
                                 << BoundPlaceholder;
    QTest::newRow("unique") << Edit([](I &i) { i.uniqueIdentifier = {0x00112233, 0x44556677, 0x8899AABB, 0xCCDDEEFF}; })
                            << "iLabelDevSN" << "00112233 44556677 8899AABB CCDDEEFF";
    QTest::newRow("unique: none") << Edit([](I &i) { i.uniqueIdentifier = {}; }) << "iLabelDevSN"
                                  << UniquePlaceholder;
}

void TstMainWindowIdentity::labelsShowTheRecord()
{
    QFETCH(Edit, edit);
    QFETCH(QString, label);
    QFETCH(QString, text);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    qrvsim::SimIdentity identity;
    edit(identity);
    form.ShowDeviceIdentity(ToRecord(identity));
    QCOMPARE(FindControl<QLabel>(&form, label)->text(), text);
}

void TstMainWindowIdentity::gateJudgesWhatIsShown_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("modification");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("modelOk");
    QTest::addColumn<bool>("versionOk");
    QTest::newRow("served") << QByteArray("QRV240") << QByteArray("S") << 0x0101 << "S.01.01" << true << true;
    QTest::newRow("lower-case name") << QByteArray("qrv240") << QByteArray("S") << 0x0101 << "S.01.01" << false << true;
    QTest::newRow("name with a blank") << QByteArray("QRV240 ") << QByteArray("S") << 0x0101 << "S.01.01" << false
                                       << true;
    QTest::newRow("larger model") << QByteArray("QRV610") << QByteArray("S") << 0x0101 << "S.01.01" << false << true;
    QTest::newRow("other firmware") << QByteArray("QRV240") << QByteArray("S") << 0x0102 << "S.01.02" << true << false;
    QTest::newRow("lower-case modification") << QByteArray("QRV240") << QByteArray("s") << 0x0101 << "s.01.01" << true
                                             << false;
    QTest::newRow("no firmware") << QByteArray("QRV240") << QByteArray("S") << 0 << "S.--.--" << true << false;
}

void TstMainWindowIdentity::gateJudgesWhatIsShown()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, modification);
    QFETCH(int, firmware);
    QFETCH(QString, version);
    QFETCH(bool, modelOk);
    QFETCH(bool, versionOk);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    qrvsim::SimIdentity identity;
    identity.deviceName = name;
    identity.modification = modification;
    identity.firmwareVersion = quint16(firmware);
    form.ShowDeviceIdentity(ToRecord(identity));
    QCOMPARE(form.PanelText(VersionPanel), version);
    QCOMPARE(form.IsModelSupported(), modelOk);
    QCOMPARE(form.IsVersionSupported(), versionOk);
    QCOMPARE(SupportedVersions, QStringList{"S.01.01"});
}

void TstMainWindowIdentity::emptyIdentityFailsBothTests()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    form.ShowDeviceIdentity(ToRecord(qrvsim::SimIdentity()));
    form.ShowDeviceIdentity(EmptyDeviceIdentity()); // replaces every label

    const QStringList expected{"--------", "--------", "--.--", "--.--", "--.--", "-----------", "---",
                               BoundPlaceholder, "---------------", UniquePlaceholder};
    QStringList shown;
    for (const char *name : identityLabelNames)
        shown << FindControl<QLabel>(&form, name)->text();
    QCOMPARE(shown, expected);
    QCOMPARE(form.PanelText(VersionPanel), QStringLiteral("--------.--.--"));
    QVERIFY(!form.IsModelSupported());
    QVERIFY(!form.IsVersionSupported());
}

void TstMainWindowIdentity::worksOnAnyWindow()
{
    QWidget window;
    auto *box = new QWidget(&window); // the labels may sit deeper, in a hidden group box
    box->setObjectName(QStringLiteral("GroupBox15"));
    box->hide();
    for (const char *name : identityLabelNames)
        (new QLabel(box))->setObjectName(QLatin1String(name));
    QString version;
    ShowDeviceIdentity(&window, ToRecord(qrvsim::SimIdentity()), [&version](const QString &v) { version = v; });
    QCOMPARE(version, QStringLiteral("S.01.01"));
    QCOMPARE(window.findChild<QLabel *>("iGSMIMEILabel")->text(), QStringLiteral("356938035643809"));
    QVERIFY(IsModelSupported(&window, QStringLiteral("QRV240")));
    QVERIFY(IsVersionSupported(version, {"A.01.00", "S.01.01"}));

    QWidget bare; // no labels at all: only the version text
    version.clear();
    ShowDeviceIdentity(&bare, EmptyDeviceIdentity(), [&version](const QString &v) { version = v; });
    QCOMPARE(version, QStringLiteral("--------.--.--"));
    QVERIFY(!IsModelSupported(&bare, QStringLiteral("--------")));
}

QTEST_MAIN(TstMainWindowIdentity)
#include "tst_mainwindow_identity.moc"
