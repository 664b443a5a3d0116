// The factory content of the configuration image.
#include "configurator/core/Configuration.h"

#include <algorithm>
#include <initializer_list>

namespace {

struct StepDefault {
    bool high;
    int duration;
};

// Writes the train and its end mark; a cyclic train (repeat != 1) ends on the
// level of its last step, a single one on the level that would follow.
void SetScenario(FieldView s, int repeat, std::initializer_list<StepDefault> steps)
{
    s.Set(ScenarioRecord::Repeat, repeat);
    int i = 0;
    bool last = false;
    for (const StepDefault &step : steps) {
        s.Set(ScenarioRecord::StepLevel(i), step.high);
        s.Set(ScenarioRecord::StepDuration(i), step.duration);
        last = step.high;
        ++i;
    }
    s.Set(ScenarioRecord::StepLevel(i), repeat == 1 ? !last : last);
}

void SetHeaderAndGeneral(FieldView img)
{
    img.Set(HeaderFields::FormatMarker, 0x01);
    img.Set(HeaderFields::VersionText, u"v.01.02");
    img.Set(GeneralFields::Call2CallPauseX10S, 1);
    img.Set(GeneralFields::ACK, 1);
    img.Set(GeneralFields::ControlOnlyList, 1);
    img.Set(GeneralFields::DTMFControlOnlyList, 1);
    img.Set(GeneralFields::OutdatedMsgTime, 15);
    img.Set(GeneralFields::DATAProtocol, 1);
    img.Set(GeneralFields::DTMFPass, u"8462");
    img.Set(GeneralFields::Password, u"vomu");
}

void SetConnections(ConfigImage &image)
{
    for (int k = 0; k < ConnectionRecord::Count; ++k) {
        const FieldView c = RecordView<ConnectionRecord>(image, k);
        c.Set(ConnectionRecord::GroupNum, k);
        c.Set(ConnectionRecord::DialTranspWaitTime, 9);
        c.Set(ConnectionRecord::SMSTranspWaitTime, 9);
        c.Set(ConnectionRecord::Lang, 1);
        c.Set(ConnectionRecord::UserId, 1);
    }
}

void SetInputs(ConfigImage &image)
{
    const FieldView img = View(image);
    img.Set(InputCommonFields::PortPwrSensAllOn, 1);
    img.Set(InputCommonFields::LoopPwrResetTime, 3);
    for (int i = 0; i < InputRecord::Count; ++i) {
        const FieldView in = RecordView<InputRecord>(image, i);
        in.Set(InputRecord::SensName, QStringLiteral("ВХОД%1").arg(i + 1));
        in.Set(InputRecord::SensActSt, u"АКТИВЕН");
        in.Set(InputRecord::SensPassSt, u"НЕАКТИВЕН");
        in.Set(InputRecord::AverageTime, 2);
        in.Set(InputRecord::SensActLevel, 2);
        in.Set(InputRecord::ReleToAlarm, 1);
        in.Set(InputRecord::SensType, 1);
        in.Set(InputRecord::LoBarrier, 1365);
        in.Set(InputRecord::HiBarrier, 2730);
        in.Set(InputRecord::SensorPwrSource, 2);
        in.Set(InputRecord::MinVal, 0.0f);
        in.Set(InputRecord::MaxVal, 10.0f);
    }
}

void SetOutputs(ConfigImage &image)
{
    for (int k = 0; k < OutputRecord::Count; ++k) {
        const FieldView out = RecordView<OutputRecord>(image, k);
        out.Set(OutputRecord::ReleName, k < 2 ? QStringLiteral("РЕЛЕ%1").arg(k + 1)
                                              : QStringLiteral("ВЫХОД%1").arg(k - 1));
        out.Set(OutputRecord::ReleNameAct, u"ВКЛ");
        out.Set(OutputRecord::ReleNameDeact, u"ВЫКЛ");
        out.Set(OutputRecord::ReleEn, 1);
        out.Set(OutputRecord::RemoteControlEn, 1);
    }
}

void SetScenarios(ConfigImage &image)
{
    const auto s = [&](int n) { return RecordView<ScenarioRecord>(image, n - 1); };
    SetScenario(s(1), 0, {{true, 1}, {false, 1}});
    SetScenario(s(2), 0, {{true, 2}, {false, 2}, {true, 2}, {false, 2}});
    SetScenario(s(3), 0, {{true, 5}, {false, 5}, {true, 10}, {false, 10}});
    SetScenario(s(4), 1, {{true, 2}, {false, 2}, {true, 2}});
    SetScenario(s(5), 1, {{false, 1}, {true, 1}, {false, 2}});
    SetScenario(s(6), 0, {{true, 2}, {false, 3}});
    SetScenario(s(7), 1, {{true, 5}});
    for (int n = 8; n <= ScenarioRecord::Count; ++n) {
        SetScenario(s(n), 1, {{true, 1}});
        s(n).Set(ScenarioRecord::Step(2), 0x8000);
    }
}

void SetClockAndPower(FieldView img)
{
    img.Set(ClockFields::TimeZone, 4);
    img.Set(PowerFields::PowerSignAverTime, 1);
    img.Set(PowerFields::ExtPowerFault, 1);
    img.Set(PowerFields::RecoveryTime, 4);
    img.Set(PowerFields::ExtPowerRec, 1);
    img.Set(PowerFields::DischargeAlarm, 20);
    img.Set(PowerFields::BatteryDischargeAlarmEventEn, 1);
    img.Set(PowerFields::DischargeWarn, 40);
    img.Set(PowerFields::BatteryDischargeWarnEventEn, 1);
    img.Set(PowerFields::AlarmBlinking, 1);
    img.Set(PowerFields::TemperatureEvent, 1);
    img.Set(PowerFields::TemperatLowBorder, -25);
    img.Set(PowerFields::TemperatHiBorder, 60);
    img.Set(PowerFields::LoBorderLevel, -20);
    img.Set(PowerFields::HiBorderLevel, -15);
    img.Set(PowerFields::TamperEnable, 1);
}

void SetLargerModel(ConfigImage &image)
{
    const FieldView img = View(image);
    img.Set(LargerModelFields::GprsAccessPoint, u"internet");
    img.Set(LargerModelFields::GprsUser, u"qov");
    img.Set(LargerModelFields::GprsPassword, u"qov");
    // Address from the range reserved for documentation: a controller of
    // the larger model gets its real server from the maker's set-up.
    for (int n = 0; n < LargerModelFields::ServerCount; ++n) {
        const auto address = img.Bytes(LargerModelFields::ServerAddress(n));
        std::ranges::copy(std::initializer_list<quint8>{192, 0, 2, 1}, address.begin());
        img.Set(LargerModelFields::ServerPort(n), 60000 + n);
    }
    // Further settings of that model whose meaning it alone defines.
    const auto put = [&](int offset, std::initializer_list<quint8> bytes) {
        std::ranges::copy(bytes, image.begin() + offset);
    };
    put(2920, {0x01});
    put(2922, {0x57, 0xD5, 0x01, 0x01, 0x57, 0xD5});
    put(2935, {0x02, 0x1E, 0x03});
    put(3080, {0x10, 0x0E, 0x64});
    put(3084, {0x3C});
}

void SetPerimetersAndProfiles(ConfigImage &image)
{
    for (int p = 0; p < PerimeterRecord::Count; ++p)
        RecordView<PerimeterRecord>(image, p).Set(PerimeterRecord::Name, QStringLiteral("ПЕРИМЕТР%1").arg(p + 1));
    for (int p = 0; p < ProfileRecord::Count; ++p) {
        const FieldView profile = RecordView<ProfileRecord>(image, p);
        profile.Set(ProfileRecord::Name, p == 0   ? QStringLiteral("КОМФОРТ")
                                         : p == 1 ? QStringLiteral("ЭКОНОМ")
                                                  : QStringLiteral("ПРОФИЛЬ%1").arg(p + 1));
        for (int n = 0; n < ProfileRecord::EntryCount; ++n) {
            profile.Set(ProfileRecord::Entry(n, 0), 1365);
            profile.Set(ProfileRecord::Entry(n, 1), 2730);
        }
    }
}

ConfigImage BuildDefaultImage()
{
    ConfigImage image{};
    SetHeaderAndGeneral(image);
    SetConnections(image);
    SetInputs(image);
    SetOutputs(image);
    SetScenarios(image);
    SetClockAndPower(image);
    SetLargerModel(image);
    SetPerimetersAndProfiles(image);
    return image;
}

} // namespace

const ConfigImage &DefaultImage()
{
    static const ConfigImage image = BuildDefaultImage();
    return image;
}
