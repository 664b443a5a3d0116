#pragma once
// Where every field of the configuration image and of the system parameters
// lies. Image-wide fields have absolute offsets; the fields of a repeated
// record are relative to the record (see RecordView in Configuration.h).
// Field names follow the controls that edit them, without the control kind
// (ComboBoxGroupNum -> ConnectionRecord::GroupNum).
#include "configurator/core/ImageFields.h"

inline constexpr int ConfigImageSize = 5292;
inline constexpr int ModeMemorySize = 10;
inline constexpr int SystemParametersSize = 8;

// The one-byte reaction code used throughout the image.
enum OutputAction : quint8 {
    oaNone = 0,
    oaSwitchOn = 1,
    oaSwitchOff = 2,
    oaScenario1 = 3, // 3..16 run scenario 1..14
};
constexpr quint8 RunScenario(int scenario) { return quint8(oaScenario1 + scenario - 1); }
inline constexpr int OutputActionCount = 17;

// Relays and outputs in the order of every per-output column of the image.
enum OutputNumber : quint8 {
    onRelay1 = 0,
    onRelay2 = 1,
    onOutput1 = 2, // 2..6 outputs 1..5
};
inline constexpr int OutputCount = 7;

struct HeaderFields {
    static constexpr UField FormatMarker{0, 0, 8};
    static constexpr TextField VersionText{1, 8};
    static constexpr int Size = 9; // marker and version text
};

// Page 1, general connection parameters (with the balance request).
struct GeneralFields {
    static constexpr UField Call2CallPauseX10S{12, 0, 3};
    static constexpr UField ACK{12, 3, 1};
    static constexpr UField ControlOnlyList{12, 4, 1};
    static constexpr UField DTMFControlOnlyList{12, 5, 1};
    static constexpr UField DialPriority{12, 6, 2};
    static constexpr UField OutdatedMsgTime{13, 0, 4};
    static constexpr UField DATAProtocol{13, 4, 1};
    static constexpr TextField SystemPassword{20, 9};
    static constexpr TextField PIN{29, 9};
    static constexpr TextField DTMFPass{38, 5};
    static constexpr TextField Password{43, 9};
    static constexpr TextField SMSCA{52, 16};
    static constexpr TextField BalansReqCMD{2820, 9};
    static constexpr TextField BalansIdWord{2829, 9};
    static constexpr UField BalansMinVal{2838, 0, 16};
    static constexpr UField ReqPeriodH{2840, 0, 8};
};

// The message sources of one kind of notification of a connection.
struct NotificationSources {
    InputMaskPair MaskInput;
    int flags; // offset of the two source bytes

    // n = 0..3: "ОХРАНА", "ОХРАНА 2" .. "ОХРАНА 4" and the same of "НАБЛЮДЕНИЕ".
    constexpr UField Arm(int n) const { return {flags, n, 1}; }
    constexpr UField Disarm(int n) const { return {flags, 4 + n, 1}; }
    constexpr UField RestrictedArm() const { return {flags + 1, 0, 1}; }
    constexpr UField Power() const { return {flags + 1, 1, 1}; }
    constexpr UField Test() const { return {flags + 1, 2, 1}; }
    constexpr UField GPS() const { return {flags + 1, 3, 1}; }
};

constexpr NotificationSources NotificationSourcesAt(int offset)
{
    return {InputMaskPairAt(offset), offset + 4};
}

// Pages 2-9.
struct ConnectionRecord {
    static constexpr int Base = 68, Size = 36, Count = 8;
    static constexpr TextField Phone{0, 16};
    static constexpr UField TransportPriority{16, 0, 2};
    static constexpr UField GroupNum{16, 2, 4};
    static constexpr UField DialTranspWaitTime{17, 0, 4};
    static constexpr UField IncomungCallAction{17, 4, 2};
    static constexpr UField ICToOUOutN{18, 0, 3}; // OutputNumber
    static constexpr UField ICToOUScnN{18, 3, 5}; // OutputAction
    static constexpr UField NotACK{19, 0, 1};
    static constexpr UField CallEn{19, 1, 1};
    static constexpr UField OnLineTime{19, 2, 6};
    static constexpr UField ConnectionType{20, 0, 2};
    static constexpr NotificationSources Voice = NotificationSourcesAt(22);
    static constexpr UField SMSTranspWaitTime{28, 0, 4};
    static constexpr UField Lang{29, 0, 2};
    static constexpr UField UserId{29, 2, 1};
    static constexpr UField DebugMode{29, 3, 1};
    static constexpr UField SMSEn{29, 4, 1};
    static constexpr UField JointUse{29, 5, 1};
    static constexpr NotificationSources Sms = NotificationSourcesAt(30);
};

// Page 13, settings common to all inputs.
struct InputCommonFields {
    static constexpr UField PortPwrSensAllOn{356, 0, 1};
    static constexpr UField LoopPwrResetTime{356, 1, 3};
    static constexpr UField NoScaningTimeAftArm{356, 4, 4};
    static constexpr UField NoScaningTimeAftReset{357, 0, 3};
};

// Pages 14-17 (inputs 1-4), and RestrArmMode of inputs 1-8 on page 12.
struct InputRecord {
    static constexpr int Base = 360, Size = 92, Count = 16;
    static constexpr TextField SensName{0, 17};
    static constexpr TextField SensActSt{17, 17};
    static constexpr TextField SensPassSt{34, 17};
    static constexpr UField AverageTime{52, 0, 4};
    static constexpr UField SensActLevel{52, 4, 3};
    static constexpr UField Zone24H{52, 7, 1}; // CheckBox24HZone
    static constexpr UField RecoveryTime{53, 0, 6};
    static constexpr UField DelayTime{54, 0, 6};
    static constexpr UField ReleToAlarm{54, 6, 2};
    static constexpr UField RestrArmMode{55, 0, 1};
    static constexpr UField SensType{55, 1, 3};
    static constexpr UField LoBarrier{58, 0, 16};
    static constexpr UField HiBarrier{60, 0, 16};
    static constexpr UField ActiveTriggerNum{62, 0, 2};
    static constexpr UField NotArmingAsActive{62, 2, 1};
    static constexpr UField ListenNum{62, 4, 4};
    static constexpr UField SensorPwrSource{63, 0, 2};
    static constexpr UField AlarmTry{63, 2, 2};
    static constexpr UField ActArmDisMode{63, 4, 2};
    static constexpr UField PassArmDisMode{63, 6, 2};
    static constexpr UField AlarmDelayTime{64, 0, 4};
    static constexpr UField ActiveToGPS{64, 4, 1};
    static constexpr Float32Field MinVal{68};
    static constexpr Float32Field MaxVal{72};
    // OutputAction of output n (OutputNumber) on activation and deactivation.
    static constexpr UField ActRele(int n) { return {76 + n, 0, 8}; }
    static constexpr UField PassRele(int n) { return {83 + n, 0, 8}; }
};

// Pages 19-22 (OutputNumber 0-3).
struct OutputRecord {
    static constexpr int Base = 1832, Size = 52, Count = OutputCount;
    static constexpr TextField ReleName{0, 17};
    static constexpr TextField ReleNameAct{17, 17};
    static constexpr TextField ReleNameDeact{34, 17};
    static constexpr UField CommType{51, 0, 5};
    static constexpr UField ReleEn{51, 5, 1};
    static constexpr UField ReleInversion{51, 6, 1};
    static constexpr UField RemoteControlEn{51, 7, 1};
};

// Page 23. A step word holds the output level in bit 15 and the duration
// in bits 0-14; duration 0 ends the train.
struct ScenarioRecord {
    static constexpr int Base = 2196, Size = 34, Count = 14;
    static constexpr int StepCount = 16;
    static constexpr UField Repeat{0, 0, 16};
    static constexpr UField Step(int i) { return {2 + 2 * i, 0, 16}; }
    static constexpr UField StepDuration(int i) { return {2 + 2 * i, 0, 15}; }
    static constexpr UField StepLevel(int i) { return {2 + 2 * i, 15, 1}; }
};

// Page 10, clock and information message.
struct ClockFields {
    static constexpr Int8Field TimeZone{2672}; // hours, -12..+13
    static constexpr UField DSTEnable{2673, 0, 1};
    static constexpr UField InfoIn{2676, 0, 16};        // bit n-1 = input n
    static constexpr UField InfoR{2678, 0, 7, true};    // bit k = OutputNumber k; bit 7 written 0
};

// Page 10, scheduler lines 1..8 (rows of StringGrid3).
enum ScheduleAction : quint8 {
    saNone = 0,
    saArm = 1,
    saDisarm = 2,
    saOutputControl = 3,
    saReserved = 4,
};

struct ScheduleLine {
    static constexpr int Base = 2680, Size = 16, Count = 8;
    static constexpr UField Enabled{0, 0, 1, true}; // bits 1-7 written 0
    static constexpr UField Days{4, 0, 7};          // bit 0 Monday .. bit 6 Sunday
    static constexpr UField Hour{5, 0, 5};
    static constexpr UField Minute{6, 0, 6};
    static constexpr UField Test{12, 0, 1};
    static constexpr UField Info{12, 1, 1};
    static constexpr UField Action{12, 2, 6};       // ScheduleAction
    static constexpr UField Parameter{13, 0, 8};    // kinds other than output control
    static constexpr UField ActionOutput{13, 0, 4}; // output control: OutputNumber
    static constexpr UField ActionReaction{14, 0, 8}; // output control: OutputAction
};

// Page 11, power, battery, indication, temperature and tamper.
struct PowerFields {
    static constexpr UField PowerSignAverTime{2808, 0, 3};
    static constexpr UField ExtPowerFault{2808, 3, 1};
    static constexpr UField RecoveryTime{2808, 4, 3};
    static constexpr UField ExtPowerRec{2808, 7, 1};
    static constexpr UField AsFaultSendGPSPos{2809, 0, 1};
    // The two discharge borders hold 100 - the track bar position.
    static constexpr UField DischargeAlarm{2812, 0, 7};
    static constexpr UField BatteryDischargeAlarmEventEn{2812, 7, 1};
    static constexpr UField DischargeWarn{2813, 0, 7};
    static constexpr UField BatteryDischargeWarnEventEn{2813, 7, 1};
    static constexpr UField AsDischargeSendGPSPos{2814, 0, 1};
    static constexpr UField IndFunction{2817, 0, 2};
    static constexpr UField AlarmBlinking{2817, 2, 1};
    static constexpr UField DisableLedsAtCoverClose{2817, 3, 1};
    static constexpr UField ShowActiveInsToArmOut{2817, 7, 1};
    static constexpr UField TemperatureEvent{2842, 0, 1};
    static constexpr Int8Field TemperatLowBorder{2843};
    static constexpr Int8Field TemperatHiBorder{2844};
    // The two reaction levels hold 89 - the combo box index.
    static constexpr Int8Field LoBorderLevel{2845};
    static constexpr UField LoBorderOut{2846, 0, 3};
    static constexpr UField LoBorderScn{2846, 3, 5};
    static constexpr Int8Field HiBorderLevel{2847};
    static constexpr UField HiBorderOut{2848, 0, 3};
    static constexpr UField HiBorderScn{2848, 3, 5};
    static constexpr UField TamperEnable{2849, 0, 1};
    static constexpr UField TamperActOutN{2850, 0, 3};
    static constexpr UField TamperActScnN{2850, 3, 5};
};

// Settings of the larger model; no page edits them, they travel with the image.
struct LargerModelFields {
    static constexpr int Begin = 2851, End = 3087;
    static constexpr TextField GprsAccessPoint{2852, 33};
    static constexpr TextField GprsUser{2885, 17};
    static constexpr TextField GprsPassword{2902, 17};
    static constexpr int ServerCount = 3;
    static constexpr RawField ServerAddress(int n) { return {2940 + 44 * n, 4}; }
    static constexpr UField ServerPort(int n) { return {2976 + 44 * n, 0, 16}; }
};

// Page 12, "Вход [Arm In]": record 0 only.
struct PerimeterRecord {
    static constexpr int Base = 3087, Size = 51, Count = 4;
    static constexpr TextField Name{0, 17};
    static constexpr UField DelayARM{17, 0, 8};
    static constexpr UField ArmInMode{18, 0, 8};
    // OutputAction of output n (OutputNumber).
    static constexpr UField ArmToRele(int n) { return {19 + n, 0, 8}; }
    static constexpr UField DisarmToRele(int n) { return {26 + n, 0, 8}; }
    static constexpr UField CDtoRele(int n) { return {33 + n, 0, 8}; }
    static constexpr UField RAtoRele(int n) { return {40 + n, 0, 8}; }
    static constexpr UField ArmToProfile{47, 0, 8};
    static constexpr UField DisarmToProfile{48, 0, 8};
    static constexpr UField CDtoProfile{49, 0, 8};
    static constexpr UField RAtoProfile{50, 0, 8};
};

// Page 12, rows 1..32 of StringGrid1; an all-zero code is a free row.
struct TouchKeyRecord {
    static constexpr int Base = 3292, Size = 32, Count = 32;
    static constexpr CodeField Code{0};
    static constexpr TextField Name{8, 17};
};

// No page edits them.
struct ProfileRecord {
    static constexpr int Base = 4316, Size = 122, Count = 8;
    static constexpr int EntryCount = 16, EntryWords = 3;
    static constexpr TextField Name{0, 20};
    static constexpr UField Entry(int n, int word) { return {20 + 6 * n + 2 * word, 0, 16}; }
};

// Memory area 5, page 24.
struct SystemParameterFields {
    static constexpr UField CALVAL{0, 0, 17};
    static constexpr UField CALDIR{0, 17, 1};
    static constexpr UField BatteryType{4, 0, 1};
    static constexpr UField FWUpdateEnable{5, 0, 1};
    static constexpr UField CRCCheckDisable{6, 0, 1};
};

static_assert(ConnectionRecord::Base + ConnectionRecord::Count * ConnectionRecord::Size == 356);
static_assert(InputRecord::Base + InputRecord::Count * InputRecord::Size == OutputRecord::Base);
static_assert(OutputRecord::Base + OutputRecord::Count * OutputRecord::Size == ScenarioRecord::Base);
static_assert(ScenarioRecord::Base + ScenarioRecord::Count * ScenarioRecord::Size == 2672);
static_assert(ScheduleLine::Base + ScheduleLine::Count * ScheduleLine::Size == 2808);
static_assert(PerimeterRecord::Base == LargerModelFields::End);
static_assert(PerimeterRecord::Base + PerimeterRecord::Count * PerimeterRecord::Size + 1 == TouchKeyRecord::Base);
static_assert(TouchKeyRecord::Base + TouchKeyRecord::Count * TouchKeyRecord::Size == ProfileRecord::Base);
static_assert(ProfileRecord::Base + ProfileRecord::Count * ProfileRecord::Size == ConfigImageSize);
