#include "configurator/pages/PageConnection.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <array>
#include <utility>

using namespace pagectl;

namespace {

enum class Source { Input, Arm, Disarm, RestrictedArm, Power, Test, GPS };

struct SourceEntry {
    Source kind;
    int number; // input 1..16, or 1..4 of "ОХРАНА n" / "НАБЛЮДЕНИЕ n"
    int tag;    // boxes of one tag may be checked together in "Голосовое SB"
    int place;  // where a shown box reads, four to a column; -1: hidden
};

// The source boxes in their group box's child order, which the exclusive
// choice goes by; on screen they read inputs 1..4, then the modes, the
// system events and the test messages.
constexpr SourceEntry SourceTable[] = {
    {Source::Input, 1, 4, 0},     {Source::Input, 2, 4, 1},      {Source::Input, 4, 4, 3},
    {Source::Input, 3, 4, 2},     {Source::Disarm, 1, 2, 5},     {Source::Power, 0, 4, 6},
    {Source::Arm, 1, 1, 4},       {Source::Test, 0, 4, 7},       {Source::Input, 5, 4, -1},
    {Source::Input, 6, 4, -1},    {Source::Input, 7, 4, -1},     {Source::Input, 8, 4, -1},
    {Source::RestrictedArm, 0, 3, -1}, {Source::Arm, 2, 5, -1},  {Source::Disarm, 2, 6, -1},
    {Source::Arm, 3, 7, -1},      {Source::Disarm, 3, 8, -1},    {Source::Arm, 4, 9, -1},
    {Source::Disarm, 4, 10, -1},  {Source::GPS, 0, 0, -1},       {Source::Input, 9, 4, -1},
    {Source::Input, 10, 4, -1},   {Source::Input, 12, 4, -1},    {Source::Input, 11, 4, -1},
    {Source::Input, 13, 4, -1},   {Source::Input, 14, 4, -1},    {Source::Input, 15, 4, -1},
    {Source::Input, 16, 4, -1},
};
constexpr int ShownSources = 8;

// kind: 'D' (voice) or 'S' (SMS).
SourceBoxes MakeSourceBoxes(QGroupBox *group, QChar kind)
{
    const QString prefix = QStringLiteral("CheckBoxMask") + kind;
    SourceBoxes boxes;
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(8);
    std::array<QCheckBox *, ShownSources> inReadingOrder{};
    for (const SourceEntry &s : SourceTable) {
        QString name, caption;
        QCheckBox **slot = nullptr;
        // "ОХРАНА", "ОХРАНА 2" .. and CheckBoxMaskDArm, CheckBoxMaskDArm2 ..
        const QString suffix = s.number > 1 ? QString::number(s.number) : QString();
        switch (s.kind) {
        case Source::Input:
            name = prefix + QStringLiteral("Input") + QString::number(s.number);
            caption = QStringLiteral("Вх.") + QString::number(s.number);
            slot = &boxes.Input[s.number - 1];
            break;
        case Source::Arm:
            name = prefix + QStringLiteral("Arm") + suffix;
            caption = (QStringLiteral("ОХРАНА ") + suffix).trimmed();
            slot = &boxes.Arm[s.number - 1];
            break;
        case Source::Disarm:
            name = prefix + QStringLiteral("Disarm") + suffix;
            caption = (QStringLiteral("НАБЛЮДЕНИЕ ") + suffix).trimmed();
            slot = &boxes.Disarm[s.number - 1];
            break;
        case Source::RestrictedArm:
            // The voice box's name has a C.
            name = (kind == QLatin1Char('D') ? QStringLiteral("CheckBoxMaskC") : prefix) + QStringLiteral("RestrictedArm");
            caption = QStringLiteral("ЗАЩИТА");
            slot = &boxes.RestrictedArm;
            break;
        case Source::Power:
            name = prefix + QStringLiteral("Power");
            caption = QStringLiteral("Системные события");
            slot = &boxes.Power;
            break;
        case Source::Test:
            name = prefix + QStringLiteral("Test");
            caption = QStringLiteral("Тестовое / инфо. сообщения");
            slot = &boxes.Test;
            break;
        case Source::GPS:
            name = prefix + QStringLiteral("GPS");
            caption = QStringLiteral("GPS");
            slot = &boxes.GPS;
            break;
        }
        QCheckBox *box = CheckBox(group, name, caption);
        SetTag(box, s.tag);
        if (s.kind == Source::Input)
            box->setTristate(true);
        if (s.place >= 0) {
            grid->addWidget(box, s.place % 4, s.place / 4);
            inReadingOrder[std::size_t(s.place)] = box;
        } else {
            box->hide();
        }
        *slot = box;
        boxes.Ordered.push_back(box);
    }
    // The Tab key goes as they read.
    for (std::size_t i = 1; i < inReadingOrder.size(); ++i)
        QWidget::setTabOrder(inReadingOrder[i - 1], inReadingOrder[i]);
    return boxes;
}

} // namespace

PageConnection::PageConnection(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel5"), parent)
{
    Label74 = Title(this, QStringLiteral("Label74"));
    QWidget *area = ScrollBody(this, Label74);
    auto *body = new QVBoxLayout(area);

    Label75 = Label(area, QStringLiteral("Label75"), QStringLiteral("Номер телефона"));
    MaskEditPhone = MaskEdit(area, QStringLiteral("MaskEditPhone"), QStringLiteral("#99999999999999;1; "));
    Label161 = Label(area, QStringLiteral("Label161"), QStringLiteral("принадлежит группе"));
    ComboBoxGroupNum = ComboBox(area, QStringLiteral("ComboBoxGroupNum"), Numbers(1, 1, 8));
    Label85 = Label(area, QStringLiteral("Label85"), QStringLiteral("Приоритет оповещения"));
    ComboBoxTransportPriority =
        ComboBox(area, QStringLiteral("ComboBoxTransportPriority"),
                 {QStringLiteral("Голосовое и SMS оповещения равнозначны"),
                  QStringLiteral("Приоритет у голосового оповещения"), QStringLiteral("Приоритет у SMS оповещения")});
    Label85->hide();
    ComboBoxTransportPriority->hide();
    Label32 = Label(area, QStringLiteral("Label32"), QStringLiteral("Реакция на входящий вызов"));
    ComboBoxIncomungCallAction =
        ComboBox(area, QStringLiteral("ComboBoxIncomungCallAction"),
                 {QStringLiteral("Принять и перейти в голосовое меню, с паролем (DTMF управление)"),
                  QStringLiteral("Принять и перейти в голосовое меню, без пароля (DTMF управление)"),
                  QStringLiteral("Отбить (DTMF управление невозможно)"),
                  QStringLiteral("Принять и установить соединение DATA")});
    LabelConnType = Label(area, QStringLiteral("LabelConnType"), QStringLiteral("Тип соединения"));
    ComboBoxConnectionType =
        ComboBox(area, QStringLiteral("ComboBoxConnectionType"),
                 {QStringLiteral("Голосовое"), QStringLiteral("SentryBeacon"), QStringLiteral("Голосовое SB")});
    LabelConnType->hide();
    ComboBoxConnectionType->hide();

    GroupBoxInCallToOutsAction = GroupBox(area, QStringLiteral("GroupBoxInCallToOutsAction"),
                                          QStringLiteral("Управление выходом при входящем вызове"));
    ComboBoxICToOUOutN =
        ComboBox(GroupBoxInCallToOutsAction, QStringLiteral("ComboBoxICToOUOutN"), texts().OutputNames);
    ComboBoxICToOUScnN =
        ComboBox(GroupBoxInCallToOutsAction, QStringLiteral("ComboBoxICToOUScnN"), texts().OutputActionNames);
    auto *inCall = new QHBoxLayout(GroupBoxInCallToOutsAction);
    inCall->addWidget(ComboBoxICToOUOutN);
    inCall->addWidget(ComboBoxICToOUScnN);

    auto *top = new QGridLayout;
    top->addWidget(Label75, 0, 0);
    top->addWidget(MaskEditPhone, 0, 1);
    top->addWidget(Label161, 0, 2);
    top->addWidget(ComboBoxGroupNum, 0, 3);
    top->addWidget(LabelConnType, 1, 0);
    top->addWidget(ComboBoxConnectionType, 1, 1);
    top->addWidget(Label85, 2, 0);
    top->addWidget(ComboBoxTransportPriority, 2, 1, 1, 3);
    top->addWidget(Label32, 3, 0);
    top->addWidget(ComboBoxIncomungCallAction, 4, 0, 1, 4);
    top->addWidget(GroupBoxInCallToOutsAction, 5, 0, 1, 4);
    top->setColumnStretch(3, 1);
    body->addLayout(top);

    // Voice notification.
    GroupBoxConSharD = GroupBox(area, QStringLiteral("GroupBoxConSharD"), QStringLiteral("Голосовое оповещение"));
    CheckBoxCallEn = CheckBox(GroupBoxConSharD, QStringLiteral("CheckBoxCallEn"), QStringLiteral("Разрешить"));
    Label81 = Label(GroupBoxConSharD, QStringLiteral("Label81"), QStringLiteral("Длительность соединения"));
    ComboBoxOnLineTime =
        ComboBox(GroupBoxConSharD, QStringLiteral("ComboBoxOnLineTime"),
                 QStringList{QStringLiteral("По длине сообщения"), QStringLiteral("Задается DTMF упр.")} +
                     Numbers(2, 1, 60, QStringLiteral(" Sec.")));
    Label77 = Label(GroupBoxConSharD, QStringLiteral("Label77"), QStringLiteral("Прекратить попытки доставки через"));
    ComboBoxDialTranspWaitTime = ComboBox(GroupBoxConSharD, QStringLiteral("ComboBoxDialTranspWaitTime"),
                                          Numbers(1, 1, 16, QStringLiteral(" Min.")));
    CheckBoxNotACK = CheckBox(GroupBoxConSharD, QStringLiteral("CheckBoxNotACK"),
                              QStringLiteral("Отбой вызова, без соединения, считать успешной доставкой"));
    GroupBoxConDial = GroupBox(GroupBoxConSharD, QStringLiteral("GroupBoxConDial"),
                               QStringLiteral("Передавать сообщения от следующих источников"));
    MaskD = MakeSourceBoxes(GroupBoxConDial, QLatin1Char('D'));
    auto *voice = new QFormLayout(GroupBoxConSharD);
    voice->setContentsMargins(3, 6, 3, 6);
    voice->addRow(CheckBoxCallEn);
    voice->addRow(Label81, ComboBoxOnLineTime);
    voice->addRow(Label77, ComboBoxDialTranspWaitTime);
    voice->addRow(CheckBoxNotACK);
    voice->addRow(GroupBoxConDial);

    // SMS notification.
    GroupBoxConSharS = GroupBox(area, QStringLiteral("GroupBoxConSharS"), QStringLiteral("SMS"));
    CheckBoxSMSEn = CheckBox(GroupBoxConSharS, QStringLiteral("CheckBoxSMSEn"), QStringLiteral("Разрешить"));
    Label78 = Label(GroupBoxConSharS, QStringLiteral("Label78"), QStringLiteral("Прекратить попытки доставки через"));
    ComboBoxSMSTranspWaitTime = ComboBox(GroupBoxConSharS, QStringLiteral("ComboBoxSMSTranspWaitTime"),
                                         Numbers(1, 1, 16, QStringLiteral(" Min.")));
    LabelProtocolAlias =
        Label(GroupBoxConSharS, QStringLiteral("LabelProtocolAlias"), QStringLiteral("Язык сообщений"));
    // The two languages of the form, and the protocol the window adds to them.
    ComboBoxLang = ComboBox(GroupBoxConSharS, QStringLiteral("ComboBoxLang"),
                            {QStringLiteral("Английский"), QStringLiteral("Русский"), QStringLiteral("SentryBeacon")});
    Label67 = Label(GroupBoxConSharS, QStringLiteral("Label67"), QStringLiteral("В сообщении передавать"));
    ComboBoxUserId = ComboBox(GroupBoxConSharS, QStringLiteral("ComboBoxUserId"),
                              {QStringLiteral("Код ключа TouchMem"), QStringLiteral("Имя пользователя")});
    CheckBoxDebugMode = CheckBox(GroupBoxConSharS, QStringLiteral("CheckBoxDebugMode"),
                                 QStringLiteral("Проверять управляющие сообщения на ошибки"));
    CheckBoxJointUse = CheckBox(GroupBoxConSharS, QStringLiteral("CheckBoxJointUse"),
                                QStringLiteral("Управление подчиненным контроллером"));
    CheckBoxJointUse->hide();
    GroupBoxConSMS = GroupBox(GroupBoxConSharS, QStringLiteral("GroupBoxConSMS"),
                              QStringLiteral("Передавать сообщения от следующих источников"));
    MaskS = MakeSourceBoxes(GroupBoxConSMS, QLatin1Char('S'));
    auto *sms = new QFormLayout(GroupBoxConSharS);
    sms->setContentsMargins(3, 6, 3, 6);
    sms->addRow(CheckBoxSMSEn);
    sms->addRow(Label78, ComboBoxSMSTranspWaitTime);
    sms->addRow(LabelProtocolAlias, ComboBoxLang);
    sms->addRow(Label67, ComboBoxUserId);
    sms->addRow(CheckBoxDebugMode);
    sms->addRow(CheckBoxJointUse);
    sms->addRow(GroupBoxConSMS);

    auto *notifications = new WrapLayout;
    notifications->addWidget(GroupBoxConSharD);
    notifications->addWidget(GroupBoxConSharS);
    body->addLayout(notifications);
    body->addStretch();

    using R = ConnectionRecord;
    fields_.Bind(ComboBoxTransportPriority, R::TransportPriority);
    fields_.Bind(ComboBoxGroupNum, R::GroupNum);
    fields_.Bind(ComboBoxIncomungCallAction, R::IncomungCallAction);
    fields_.Bind(ComboBoxDialTranspWaitTime, R::DialTranspWaitTime);
    fields_.Bind(ComboBoxICToOUOutN, R::ICToOUOutN);
    fields_.Bind(ComboBoxICToOUScnN, R::ICToOUScnN);
    fields_.Bind(CheckBoxNotACK, R::NotACK);
    fields_.Bind(ComboBoxOnLineTime, R::OnLineTime);
    fields_.Bind(CheckBoxCallEn, R::CallEn);
    fields_.Bind(ComboBoxConnectionType, R::ConnectionType);
    fields_.Bind(ComboBoxSMSTranspWaitTime, R::SMSTranspWaitTime);
    fields_.Bind(ComboBoxLang, R::Lang);
    fields_.Bind(ComboBoxUserId, R::UserId);
    fields_.Bind(CheckBoxDebugMode, R::DebugMode);
    fields_.Bind(CheckBoxSMSEn, R::SMSEn);
    fields_.Bind(CheckBoxJointUse, R::JointUse);

    connect(ComboBoxIncomungCallAction, &QComboBox::currentIndexChanged, this,
            &PageConnection::ComboBoxIncomungCallActionChange);
    connect(ComboBoxTransportPriority, &QComboBox::currentIndexChanged, this,
            &PageConnection::ComboBoxIncomungCallActionChange);
    connect(ComboBoxConnectionType, &QComboBox::currentIndexChanged, this, &PageConnection::ComboBoxConnectionTypeChange);
    for (QCheckBox *box : MaskD.Ordered)
        if (box != MaskD.GPS)
            connect(box, &QCheckBox::clicked, this, [this, box] { CheckBoxMaskDInput1Click(box); });
}

void PageConnection::Enter(int page)
{
    ConfigPage::Enter(page);
    LabelConnType->show();
    ComboBoxConnectionType->show();
    GroupBoxConSharD->setTitle(Framed(QStringLiteral("Голосовое оповещение или вызов типа DATA")));
    LabelProtocolAlias->setText(QStringLiteral("Протокол обмена"));
    CheckBoxJointUse->show();
    for (QWidget *w : std::initializer_list<QWidget *>{Label161, ComboBoxGroupNum, CheckBoxNotACK, Label67,
                                                       ComboBoxUserId, CheckBoxDebugMode})
        w->hide();
    KeepFirstItems(ComboBoxIncomungCallAction, 3);
}

void PageConnection::ComboBoxIncomungCallActionChange()
{
    ComboBoxIncomungCallAction->setToolTip(ComboBoxIncomungCallAction->currentText());
}

void PageConnection::UncheckOtherGroups(QCheckBox *kept)
{
    const int tag = Tag(kept);
    for (QCheckBox *box : MaskD.Ordered)
        if (box != kept && Tag(box) != tag)
            box->setCheckState(Qt::Unchecked);
}

void PageConnection::CheckBoxMaskDInput1Click(QCheckBox *sender)
{
    // Only the user's own click: the box has the focus, and the page is not being filled.
    if (filling_ || ComboBoxConnectionType->currentIndex() != 2 || !sender->hasFocus())
        return;
    UncheckOtherGroups(sender);
}

void PageConnection::ComboBoxConnectionTypeChange()
{
    if (ComboBoxConnectionType->currentIndex() != 2)
        return;
    for (QCheckBox *box : MaskD.Ordered) {
        if (box->checkState() == Qt::Checked) {
            // A hidden box cannot take the focus; its group is kept all the same.
            box->setFocus();
            UncheckOtherGroups(box);
            break;
        }
    }
    CheckBoxNotACK->setChecked(true);
}

void PageConnection::StoreSources(FieldView record, const NotificationSources &fields, const SourceBoxes &boxes)
{
    std::array<Qt::CheckState, 8> inputs{};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i] = boxes.Input[i]->checkState();
    record.Set(fields.MaskInput, inputs);
    for (int n = 0; n < 4; ++n) {
        record.Set(fields.Arm(n), Bit(boxes.Arm[n]));
        record.Set(fields.Disarm(n), Bit(boxes.Disarm[n]));
    }
    record.Set(fields.RestrictedArm(), Bit(boxes.RestrictedArm));
    record.Set(fields.Power(), Bit(boxes.Power));
    record.Set(fields.Test(), Bit(boxes.Test));
    record.Set(fields.GPS(), Bit(boxes.GPS));
}

void PageConnection::ShowSources(ConstFieldView record, const NotificationSources &fields, const SourceBoxes &boxes,
                                 bool clicks)
{
    // Setting a box runs its click handler as a click does (it ignores the fill).
    auto show = [&](QCheckBox *box, Qt::CheckState state) {
        box->setCheckState(state);
        if (clicks && box != boxes.GPS)
            CheckBoxMaskDInput1Click(box);
    };
    for (int i = 0; i < 8; ++i)
        show(boxes.Input[i], record.Get(fields.MaskInput, i));
    auto bit = [&](UField f) { return record.Get(f) != 0 ? Qt::Checked : Qt::Unchecked; };
    for (int n = 0; n < 4; ++n) {
        show(boxes.Arm[n], bit(fields.Arm(n)));
        show(boxes.Disarm[n], bit(fields.Disarm(n)));
    }
    show(boxes.RestrictedArm, bit(fields.RestrictedArm()));
    show(boxes.Power, bit(fields.Power()));
    show(boxes.Test, bit(fields.Test()));
    show(boxes.GPS, bit(fields.GPS()));
}

void PageConnection::StorePage(int page, ControllerConfig &config)
{
    using R = ConnectionRecord;
    const FieldView record = RecordView<R>(config.ConfigImage, page - Pages::FirstConnection);
    StoreText(record, R::Phone, MaskEditPhone->Text());
    StripSpaces(record.Bytes(R::Phone));

    fields_.Store(record);
    StoreSources(record, R::Voice, MaskD);
    StoreSources(record, R::Sms, MaskS);
}

void PageConnection::ShowPage(int page, ControllerConfig &config)
{
    using R = ConnectionRecord;
    const ConstFieldView record = RecordView<R>(std::as_const(config.ConfigImage), page - Pages::FirstConnection);
    filling_ = true;
    MaskEditPhone->SetText(record.Get(R::Phone));
    fields_.Show(record);
    ComboBoxIncomungCallActionChange();
    // The voice sources' click handlers read the connection type shown above.
    ShowSources(record, R::Voice, MaskD, true);
    ShowSources(record, R::Sms, MaskS, false);
    filling_ = false;
}
