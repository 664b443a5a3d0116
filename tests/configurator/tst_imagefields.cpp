#include "configurator/core/Configuration.h"

#include <QTest>

#include <variant>
#include <vector>

namespace {

using AnyField = std::variant<UField, Int8Field, Float32Field, CodeField, TextField>;

// The bits a field's store can change, in a range of `size` bytes: those it
// sets when storing its largest value into zeros, and those it clears when
// storing zero into ones.
QByteArray WrittenBits(int size, const AnyField &field)
{
    std::vector<quint8> zeros(size, 0x00), ones(size, 0xFF);
    const FieldView up{std::span(zeros)}, down{std::span(ones)};
    std::visit([&](auto f) {
        using F = decltype(f);
        if constexpr (std::is_same_v<F, UField>) {
            up.Set(f, -1);
            down.Set(f, 0);
        } else if constexpr (std::is_same_v<F, Int8Field>) {
            up.Set(f, -1);
            down.Set(f, 0);
        } else if constexpr (std::is_same_v<F, Float32Field>) {
            up.Set(f, std::bit_cast<float>(0xFFFFFFFFu));
            down.Set(f, 0.0f);
        } else if constexpr (std::is_same_v<F, CodeField>) {
            up.Set(f, ~quint64(0));
            down.Set(f, 0);
        } else {
            up.Set(f, QString(f.size, QChar(u'я'))); // 0xFF in Windows-1251
            down.Set(f, QString());
        }
    }, field);
    QByteArray mask(size, '\0');
    for (int i = 0; i < size; ++i)
        mask[i] = char(zeros[i] | quint8(~ones[i]));
    return mask;
}

struct Section {
    const char *name;
    int size;                     // bytes the fields are relative to
    int from, to;                 // range compared
    std::vector<AnyField> fields;
    QByteArray expected;          // written bits of [from, to), hex
};

std::vector<AnyField> OutputReactions(UField (*at)(int))
{
    std::vector<AnyField> fields;
    for (int n = 0; n < OutputCount; ++n)
        fields.push_back(at(n));
    return fields;
}

std::vector<AnyField> operator+(std::vector<AnyField> a, const std::vector<AnyField> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<AnyField> Sources(const NotificationSources &s)
{
    std::vector<AnyField> f{s.MaskInput.any, s.MaskInput.checked, s.RestrictedArm(), s.Power(), s.Test(), s.GPS()};
    for (int n = 0; n < 4; ++n) {
        f.push_back(s.Arm(n));
        f.push_back(s.Disarm(n));
    }
    return f;
}

// The expected masks are the complement of the bytes and bits that the
// layout marks untouched (or reserved).
std::vector<Section> Sections()
{
    using C = ConnectionRecord;
    using I = InputRecord;
    using O = OutputRecord;
    using L = ScheduleLine;
    using P = PowerFields;
    using G = GeneralFields;
    using Pr = PerimeterRecord;
    using S = SystemParameterFields;
    std::vector<AnyField> scenario{ScenarioRecord::Repeat};
    for (int i = 0; i < ScenarioRecord::StepCount; ++i) {
        scenario.push_back(ScenarioRecord::StepDuration(i));
        scenario.push_back(ScenarioRecord::StepLevel(i));
    }
    std::vector<AnyField> profile{ProfileRecord::Name};
    for (int n = 0; n < ProfileRecord::EntryCount; ++n)
        for (int w = 0; w < ProfileRecord::EntryWords; ++w)
            profile.push_back(ProfileRecord::Entry(n, w));

    return {
        {"header and general", ConfigImageSize, 0, 68,
         {HeaderFields::FormatMarker, HeaderFields::VersionText, G::Call2CallPauseX10S, G::ACK,
          G::ControlOnlyList, G::DTMFControlOnlyList, G::DialPriority, G::OutdatedMsgTime, G::DATAProtocol,
          G::SystemPassword, G::PIN, G::DTMFPass, G::Password, G::SMSCA},
         "ff" "ffffffffffffffff" "000000" "ff1f" "000000000000" "ffffffffffffffffff" "ffffffffffffffffff"
         "ffffffffff" "ffffffffffffffffff" "ffffffffffffffffffffffffffffffff"},
        {"connection", C::Size, 0, C::Size,
         std::vector<AnyField>{C::Phone, C::TransportPriority, C::GroupNum, C::DialTranspWaitTime,
                               C::IncomungCallAction, C::ICToOUOutN, C::ICToOUScnN, C::NotACK, C::CallEn,
                               C::OnLineTime, C::ConnectionType, C::SMSTranspWaitTime, C::Lang, C::UserId,
                               C::DebugMode, C::SMSEn, C::JointUse}
             + Sources(C::Voice) + Sources(C::Sms),
         "ffffffffffffffffffffffffffffffff" "3f3fffff0300" "ffffffff" "ff0f" "0f3f" "ffffffff" "ff0f"},
        {"inputs common", ConfigImageSize, 356, 360,
         {InputCommonFields::PortPwrSensAllOn, InputCommonFields::LoopPwrResetTime,
          InputCommonFields::NoScaningTimeAftArm, InputCommonFields::NoScaningTimeAftReset},
         "ff070000"},
        {"input", I::Size, 0, I::Size,
         std::vector<AnyField>{I::SensName, I::SensActSt, I::SensPassSt, I::AverageTime, I::SensActLevel,
                               I::Zone24H, I::RecoveryTime, I::DelayTime, I::ReleToAlarm, I::RestrArmMode,
                               I::SensType, I::LoBarrier, I::HiBarrier, I::ActiveTriggerNum,
                               I::NotArmingAsActive, I::ListenNum, I::SensorPwrSource, I::AlarmTry,
                               I::ActArmDisMode, I::PassArmDisMode, I::AlarmDelayTime, I::ActiveToGPS,
                               I::MinVal, I::MaxVal}
             + OutputReactions(I::ActRele) + OutputReactions(I::PassRele),
         "ffffffffffffffffffffffffffffffffff" "ffffffffffffffffffffffffffffffffff"
         "ffffffffffffffffffffffffffffffffff" "00" "ff3fff0f" "0000" "ffffffff" "f7ff1f" "000000"
         "ffffffffffffffff" "ffffffffffffff" "ffffffffffffff" "0000"},
        {"output", O::Size, 0, O::Size,
         {O::ReleName, O::ReleNameAct, O::ReleNameDeact, O::CommType, O::ReleEn, O::ReleInversion,
          O::RemoteControlEn},
         "ffffffffffffffffffffffffffffffffff" "ffffffffffffffffffffffffffffffffff"
         "ffffffffffffffffffffffffffffffffff" "ff"},
        {"scenario", ScenarioRecord::Size, 0, ScenarioRecord::Size, scenario,
         "ffff" "ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"},
        {"clock", ConfigImageSize, 2672, 2680,
         {ClockFields::TimeZone, ClockFields::DSTEnable, ClockFields::InfoIn, ClockFields::InfoR},
         "ff010000ffffff00"},
        {"schedule line", L::Size, 0, L::Size,
         {L::Enabled, L::Days, L::Hour, L::Minute, L::Test, L::Info, L::Action, L::Parameter,
          L::ActionReaction},
         "ff000000" "7f1f3f" "0000000000" "ffffff" "00"},
        {"power and temperature", ConfigImageSize, 2808, 2851,
         {P::PowerSignAverTime, P::ExtPowerFault, P::RecoveryTime, P::ExtPowerRec, P::AsFaultSendGPSPos,
          P::DischargeAlarm, P::BatteryDischargeAlarmEventEn, P::DischargeWarn,
          P::BatteryDischargeWarnEventEn, P::AsDischargeSendGPSPos, P::IndFunction, P::AlarmBlinking,
          P::DisableLedsAtCoverClose, P::ShowActiveInsToArmOut, G::BalansReqCMD, G::BalansIdWord,
          G::BalansMinVal, G::ReqPeriodH, P::TemperatureEvent, P::TemperatLowBorder, P::TemperatHiBorder,
          P::LoBorderLevel, P::LoBorderOut, P::LoBorderScn, P::HiBorderLevel, P::HiBorderOut, P::HiBorderScn,
          P::TamperEnable, P::TamperActOutN, P::TamperActScnN},
         "ff010000" "ffff01" "0000" "8f" "0000" "ffffffffffffffffff" "ffffffffffffffffff" "ffff" "ff" "00"
         "01ffffffffffff01ff"},
        {"perimeter", Pr::Size, 0, Pr::Size,
         std::vector<AnyField>{Pr::Name, Pr::DelayARM, Pr::ArmInMode, Pr::ArmToProfile, Pr::DisarmToProfile,
                               Pr::CDtoProfile, Pr::RAtoProfile}
             + OutputReactions(Pr::ArmToRele) + OutputReactions(Pr::DisarmToRele)
             + OutputReactions(Pr::CDtoRele) + OutputReactions(Pr::RAtoRele),
         "ffffffffffffffffffffffffffffffffff" "ffffffffffffffffffffffffffffffffff"
         "ffffffffffffffffffffffffffffffffff"},
        {"touch key", TouchKeyRecord::Size, 0, TouchKeyRecord::Size,
         {TouchKeyRecord::Code, TouchKeyRecord::Name},
         "ffffffffffffffff" "ffffffffffffffffffffffffffffffffff" "00000000000000"},
        {"profile", ProfileRecord::Size, 0, ProfileRecord::Size, profile,
         QByteArray(116 * 2, 'f') + QByteArray(6 * 2, '0')},
        {"system parameters", SystemParametersSize, 0, SystemParametersSize,
         {S::CALVAL, S::CALDIR, S::BatteryType, S::FWUpdateEnable, S::CRCCheckDisable},
         "ffff0300" "01010100"},
    };
}

} // namespace

class TstImageFields : public QObject {
    Q_OBJECT
private slots:
    // Each field is where the layout puts it, and no two fields share a bit.
    void layout_data()
    {
        QTest::addColumn<int>("index");
        const auto sections = Sections();
        for (int i = 0; i < int(sections.size()); ++i)
            QTest::newRow(sections[i].name) << i;
    }
    void layout()
    {
        QFETCH(int, index);
        const std::vector<Section> sections = Sections();
        const Section &s = sections[index];
        QByteArray all(s.size, '\0');
        for (const AnyField &f : s.fields) {
            const QByteArray bits = WrittenBits(s.size, f);
            for (int i = 0; i < s.size; ++i) {
                QVERIFY2((all[i] & bits[i]) == 0, qPrintable(QStringLiteral("overlap at byte %1").arg(i)));
                all[i] = char(all[i] | bits[i]);
            }
        }
        QCOMPARE(all.mid(s.from, s.to - s.from).toHex(), s.expected);
    }

    void bitFieldsKeepTheOtherBits()
    {
        std::array<quint8, ConnectionRecord::Size> rec;
        rec.fill(0xFF);
        const FieldView c{rec};
        c.Set(ConnectionRecord::GroupNum, 5);
        QCOMPARE(rec[16], quint8(0xC0 | (5 << 2) | 0x03));
        QCOMPARE(c.Get(ConnectionRecord::GroupNum), 5u);
        QCOMPARE(c.Get(ConnectionRecord::TransportPriority), 3u);
        c.Set(ConnectionRecord::GroupNum, 0x13); // wider than the field: low bits only
        QCOMPARE(rec[16], quint8(0xC0 | (3 << 2) | 0x03));
    }

    void noSelectionStoresAllOnes()
    {
        ConfigImage image{};
        View(image).Set(GeneralFields::DialPriority, -1);
        QCOMPARE(image[12], quint8(0xC0));
        QCOMPARE(View(image).Get(GeneralFields::DialPriority), 3u);
    }

    void numbersSaturateOrKeepTheirLowBits_data()
    {
        QTest::addColumn<qint64>("typed");
        QTest::addColumn<uint>("period");
        QTest::addColumn<uint>("balance");
        QTest::newRow("in range") << qint64(12) << 12u << 12u;
        QTest::newRow("above the byte") << qint64(300) << 255u << 300u;
        QTest::newRow("above the word") << qint64(70000) << 255u << 65535u;
        QTest::newRow("minus one") << qint64(-1) << 255u << 65535u;
        QTest::newRow("negative, low bits") << qint64(-300) << uint(quint8(-300)) << uint(quint16(-300));
    }
    void numbersSaturateOrKeepTheirLowBits()
    {
        QFETCH(qint64, typed);
        QFETCH(uint, period);
        QFETCH(uint, balance);
        ConfigImage image{};
        const FieldView v = View(image);
        v.SetNumber(GeneralFields::ReqPeriodH, typed);
        v.SetNumber(GeneralFields::BalansMinVal, typed);
        QCOMPARE(v.Get(GeneralFields::ReqPeriodH), period);
        QCOMPARE(v.Get(GeneralFields::BalansMinVal), balance);
        QCOMPARE(image[2838], quint8(balance));      // little-endian
        QCOMPARE(image[2839], quint8(balance >> 8));
        QCOMPARE(image[2841], quint8(0));
    }

    void clockCorrectionSpansBytesAndKeepsTheHighBits()
    {
        SystemParameters sp;
        sp.fill(0xFF);
        const FieldView v = View(sp);
        v.SetNumber(SystemParameterFields::CALVAL, 200000);
        QCOMPARE(v.Get(SystemParameterFields::CALVAL), 0x1FFFFu);
        v.SetNumber(SystemParameterFields::CALVAL, 0x10203);
        QCOMPARE(sp[0], quint8(0x03));
        QCOMPARE(sp[1], quint8(0x02));
        QCOMPARE(sp[2], quint8(0xFF)); // bit 16 set, direction and bits 18-23 kept
        v.Set(SystemParameterFields::CALDIR, 0);
        QCOMPARE(sp[2], quint8(0xFD));
        QCOMPARE(sp[3], quint8(0xFF));
        QCOMPARE(sp[4], quint8(0xFF));
    }

    void storesThatClearTheRestOfTheByte()
    {
        std::array<quint8, ScheduleLine::Size> line;
        line.fill(0xFE);
        const FieldView v{line};
        QCOMPARE(v.Get(ScheduleLine::Enabled), 0u); // shown from bit 0 only
        v.Set(ScheduleLine::Enabled, 1);
        QCOMPARE(line[0], quint8(0x01));
        ConfigImage image{};
        image[2678] = 0x80;
        View(image).Set(ClockFields::InfoR, 0x05);
        QCOMPARE(image[2678], quint8(0x05));
    }

    void scheduleLineOfTheExample()
    {
        // 07:05, Monday and Sunday, relay 2 runs scenario 1.
        std::array<quint8, ScheduleLine::Size> line{};
        const FieldView v{line};
        v.Set(ScheduleLine::Enabled, 1);
        v.Set(ScheduleLine::Days, 0x41);
        v.Set(ScheduleLine::Hour, 7);
        v.Set(ScheduleLine::Minute, 5);
        v.Set(ScheduleLine::Action, saOutputControl);
        v.Set(ScheduleLine::ActionOutput, onRelay2);
        v.Set(ScheduleLine::ActionReaction, RunScenario(1));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(line.data()), 16).toHex(),
                 QByteArray("0100000041070500000000000c010300"));
    }

    void signedBytes()
    {
        ConfigImage image{};
        const FieldView v = View(image);
        v.Set(PowerFields::TemperatLowBorder, -25);
        QCOMPARE(image[2843], quint8(0xE7));
        QCOMPARE(v.Get(PowerFields::TemperatLowBorder), -25);
        v.Set(ClockFields::TimeZone, 13);
        QCOMPARE(v.Get(ClockFields::TimeZone), 13);
    }

    void floatsAreLittleEndianSingles()
    {
        ConfigImage image{};
        const FieldView in = RecordView<InputRecord>(image, 1);
        in.Set(InputRecord::MaxVal, 10.0f);
        in.Set(InputRecord::MinVal, -1.5f);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()) + 452 + 68, 8).toHex(),
                 QByteArray("0000c0bf00002041"));
        QCOMPARE(in.Get(InputRecord::MinVal), -1.5f);
    }

    void touchKeyCodeIsBigEndian()
    {
        ConfigImage image{};
        const FieldView key = RecordView<TouchKeyRecord>(image, 31);
        key.Set(TouchKeyRecord::Code, 0x2F0000001C8E5A01ull);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()) + 3292 + 31 * 32, 8).toHex(),
                 QByteArray("2f0000001c8e5a01"));
        QCOMPARE(key.Get(TouchKeyRecord::Code), 0x2F0000001C8E5A01ull);
    }

    void textFields()
    {
        std::array<quint8, 20> bytes;
        bytes.fill(0xAA);
        const FieldView v{bytes};
        const TextField name{1, 17};
        v.Set(name, u"ПЕРИМЕТР1");
        QCOMPARE(bytes[1], quint8(0xCF));
        QCOMPARE(bytes[10], quint8(0));
        QCOMPARE(bytes[17], quint8(0));
        QCOMPARE(v.Get(name), QStringLiteral("ПЕРИМЕТР1"));
        // At most 16 characters; the last byte is always NUL, the next byte untouched.
        v.Set(name, u"ABCDEFGHIJKLMNOPQRSTU");
        QCOMPARE(v.Get(name), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(bytes[17], quint8(0));
        QCOMPARE(bytes[18], quint8(0xAA));
        QCOMPARE(bytes[0], quint8(0xAA));
        // A field without terminator reads whole; Terminate cuts its last character.
        bytes[17] = 'Q';
        QCOMPARE(v.Get(name), QStringLiteral("ABCDEFGHIJKLMNOPQ"));
        v.Terminate(name);
        QCOMPARE(v.Get(name), QStringLiteral("ABCDEFGHIJKLMNOP"));
    }

    void inputMaskPairs()
    {
        ConfigImage image{};
        const FieldView c = RecordView<ConnectionRecord>(image, 2);
        const InputMaskPair voice = ConnectionRecord::Voice.MaskInput;
        const std::array<Qt::CheckState, 8> boxes{Qt::PartiallyChecked, Qt::Checked};
        image[68 + 72 + 23] = 0xFF; // bits 8-15 of the first word
        c.Set(voice, boxes);
        QCOMPARE(c.Get(voice.any), 0x0003u);
        QCOMPARE(c.Get(voice.checked), 0x0002u);
        QCOMPARE(c.Get(voice, 0), Qt::PartiallyChecked);
        QCOMPARE(c.Get(voice, 1), Qt::Checked);
        QCOMPARE(c.Get(voice, 2), Qt::Unchecked);
        // Set in the second word alone still shows checked.
        c.Set(voice.checked, 0x0010);
        c.Set(voice.any, 0);
        QCOMPARE(c.Get(voice, 4), Qt::Checked);
        // The SMS pair is its own.
        QCOMPARE(c.Get(ConnectionRecord::Sms.MaskInput, 4), Qt::Unchecked);
    }

    void recordsLieWhereTheLayoutSays()
    {
        ConfigImage image{};
        RecordView<ConnectionRecord>(image, 7).Set(ConnectionRecord::Phone, u"1");
        RecordView<InputRecord>(image, 15).Set(InputRecord::SensType, 7);
        RecordView<OutputRecord>(image, 6).Set(OutputRecord::RemoteControlEn, 1);
        RecordView<ScenarioRecord>(image, 13).Set(ScenarioRecord::StepLevel(15), 1);
        RecordView<ScheduleLine>(image, 7).Set(ScheduleLine::Test, 1);
        RecordView<PerimeterRecord>(image, 0).Set(PerimeterRecord::DelayARM, 240);
        RecordView<PerimeterRecord>(image, 0).Set(PerimeterRecord::RAtoProfile, 8);
        RecordView<ProfileRecord>(image, 7).Set(ProfileRecord::Entry(15, 2), 0xFFFF);
        QCOMPARE(image[68 + 7 * 36], quint8('1'));
        QCOMPARE(image[360 + 15 * 92 + 55], quint8(0x0E));
        QCOMPARE(image[1832 + 6 * 52 + 51], quint8(0x80));
        QCOMPARE(image[2196 + 13 * 34 + 33], quint8(0x80));
        QCOMPARE(image[2680 + 7 * 16 + 12], quint8(0x01));
        QCOMPARE(image[3104], quint8(240));
        QCOMPARE(image[3137], quint8(8));
        QCOMPARE(image[5291 - 6], quint8(0xFF));
        QCOMPARE(image[5291 - 7], quint8(0xFF));
        // The restricted-arm bit of inputs 1-8 is bit 0 of their byte +55.
        for (int i = 0; i < 8; ++i)
            RecordView<InputRecord>(image, i).Set(InputRecord::RestrArmMode, 1);
        for (int offset : {415, 507, 599, 691, 783, 875, 967, 1059})
            QCOMPARE(image[offset], quint8(0x01));
    }

    void constViewsRead()
    {
        const ConfigImage &image = DefaultImage();
        const ConstFieldView in = RecordView<InputRecord>(image, 0);
        QCOMPARE(in.Get(InputRecord::SensName), QStringLiteral("ВХОД1"));
        QCOMPARE(View(image).Get(GeneralFields::DTMFPass), QStringLiteral("8462"));
    }
};

QTEST_GUILESS_MAIN(TstImageFields)
#include "tst_imagefields.moc"
