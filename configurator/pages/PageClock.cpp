#include "configurator/pages/PageClock.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageControls.h"
#include "toolkit/widgets/StringGrid.h"
#include "configurator/pages/WrapLayout.h"
#include "toolkit/Fitting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

using namespace pagectl;

namespace {

// The grid shows its cell controls whenever it lays them out; this box
// stays hidden while the line does not want it.
class ParameterBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void SetWanted(bool wanted)
    {
        wanted_ = wanted;
        setVisible(wanted);
    }
    void setVisible(bool visible) override { QComboBox::setVisible(visible && wanted_); }

private:
    bool wanted_ = true;
};

const QString TimeMask = QStringLiteral("!99:99;1;-");

QStringList TimeZoneItems()
{
    const std::pair<int, const char16_t *> places[] = {
        {2, u"Афины, Бейрут, Киев, Минск"}, {4, u"Москва, Санкт-Петербург, Тула"},
        {6, u"Екатеринбург"},               {7, u"Омск, Новосибирск, Алма-Ата"},
        {8, u"Красноярск"},                 {9, u"Иркутск"},
        {10, u"Якутск"},                    {11, u"Владивосток"},
    };
    QStringList items;
    for (int offset = -12; offset <= 13; ++offset) {
        if (offset < 0) {
            items << QStringLiteral("(GMT") + QString::number(offset) + QStringLiteral(":00)");
        } else if (offset == 0) {
            items << QStringLiteral("(GMT) Время по Гринвичу: Дублин, Лондон");
        } else {
            QString item = QStringLiteral("(GMT+") + QString::number(offset) + QStringLiteral(":00)");
            for (const auto &[at, names] : places)
                if (at == offset)
                    item += QLatin1Char(' ') + QString::fromUtf16(names);
            items << item;
        }
    }
    return items;
}

QString TwoDigits(quint32 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The number written in part of the time text; anything else gives 0.
quint32 TimePart(const QString &text, qsizetype from)
{
    bool ok = false;
    const uint value = TrimBlanks(text.mid(from, 2)).toUInt(&ok);
    return ok ? value : 0;
}

} // namespace

PageClock::PageClock(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel2"), parent)
{
    Label5 = Title(this, QStringLiteral("Label5"));
    QWidget *area = ScrollBody(this, Label5);
    auto *body = new QVBoxLayout(area);

    GroupBox8 = GroupBox(area, QStringLiteral("GroupBox8"), QStringLiteral("Текущее время и дата"));
    Label16 = Label(GroupBox8, QStringLiteral("Label16"), QStringLiteral("Время компьютера"));
    Label28 = Label(GroupBox8, QStringLiteral("Label28"), QStringLiteral("Время контроллера"));
    const QString dateTimeMask = QStringLiteral("!99/99/99 99:99:99;1;-");
    MaskEditPCCurTime = MaskEdit(GroupBox8, QStringLiteral("MaskEditPCCurTime"), dateTimeMask, 17);
    MaskEditPCCurTime->setReadOnly(true);
    MaskEditContrCurTime = MaskEdit(GroupBox8, QStringLiteral("MaskEditContrCurTime"), dateTimeMask, 17);
    Button2 = Button(GroupBox8, QStringLiteral("Button2"), QStringLiteral("Установить"));
    Button3 = Button(GroupBox8, QStringLiteral("Button3"), QStringLiteral("Синхро."));
    Label130 = Label(GroupBox8, QStringLiteral("Label130"), QStringLiteral("Часовой пояс"));
    ComboBoxTimeZone = ComboBox(GroupBox8, QStringLiteral("ComboBoxTimeZone"), TimeZoneItems());
    CheckBoxDSTEnable = CheckBox(GroupBox8, QStringLiteral("CheckBoxDSTEnable"),
                                 QStringLiteral("Автоматический переход на летнее время и обратно"));
    auto *clock = new QGridLayout(GroupBox8);
    clock->addWidget(Label16, 0, 0);
    clock->addWidget(MaskEditPCCurTime, 0, 1);
    clock->addWidget(Button3, 0, 2);
    clock->addWidget(Label28, 1, 0);
    clock->addWidget(MaskEditContrCurTime, 1, 1);
    clock->addWidget(Button2, 1, 2);
    clock->addWidget(Label130, 2, 0);
    clock->addWidget(ComboBoxTimeZone, 3, 0, 1, 3);
    clock->addWidget(CheckBoxDSTEnable, 4, 0, 1, 3);

    // What the information message carries: the inputs and outputs of this model are shown.
    GroupBoxInfoMsgContent = GroupBox(area, QStringLiteral("GroupBoxInfoMsgContent"),
                                      QStringLiteral("Содержание информационного сообщения"));
    auto *info = new QGridLayout(GroupBoxInfoMsgContent);
    for (int n = 1; n <= 16; ++n) {
        QCheckBox *box = CheckBox(GroupBoxInfoMsgContent, QStringLiteral("CheckBoxInfoIn") + QString::number(n),
                                  QStringLiteral("Вх.") + QString::number(n));
        CheckBoxInfoIn[n - 1] = box;
        if (n <= 4)
            info->addWidget(box, n - 1, 0);
        else
            box->hide();
    }
    // Each output's box carries its name; the label beside it in the form
    // gives the language file the name to copy into the box, and stays
    // hidden, so that the name shows once.
    for (int k = 0; k < 7; ++k) {
        const QString name = texts().OutputNames.value(k);
        QCheckBox *box =
            CheckBox(GroupBoxInfoMsgContent, QStringLiteral("CheckBoxInfoR") + QString::number(k + 1), name);
        QLabel *label = Label(GroupBoxInfoMsgContent, QStringLiteral("Label") + QString::number(121 + k), name);
        label->hide();
        CheckBoxInfoR[k] = box;
        InfoOutputLabels[k] = label;
        if (k < 4)
            info->addWidget(box, k, 1);
        else
            box->hide();
    }
    info->setColumnStretch(1, 1);
    info->setRowStretch(4, 1);

    auto *top = new WrapLayout;
    top->addWidget(GroupBox8, 2);
    top->addWidget(GroupBoxInfoMsgContent, 1);
    body->addLayout(top);

    // The scheduler.
    GroupBox3 = GroupBox(area, QStringLiteral("GroupBox3"), QStringLiteral("Планировщик задач"));
    StringGrid3 = Make<TStringGrid>(GroupBox3, QStringLiteral("StringGrid3"));
    StringGrid3->SetColCount(14);
    StringGrid3->SetRowCount(9);
    const QString header[] = {
        QStringLiteral(" №"),  QString(),           QStringLiteral("Время"), QStringLiteral("Пн"),
        QStringLiteral("Вт"),  QStringLiteral("Ср"), QStringLiteral("Чт"),    QStringLiteral("Пт"),
        QStringLiteral("Сб"),  QStringLiteral("Вс"), QStringLiteral("Тест"),  QStringLiteral("Инфо"),
        QStringLiteral("                Действие"), QStringLiteral("  Доп. параметр"),
    };
    for (int col = 0; col < 14; ++col)
        StringGrid3->SetCell(col, 0, header[col]);
    const QStringList actions = texts().EventActionNames.mid(0, 7);
    QStringList reactions{QStringLiteral("нет реакции"), QStringLiteral("включить"), QStringLiteral("выключить")};
    for (int n = 1; n <= 14; ++n)
        reactions << QStringLiteral("сценарий ") + QString::number(n);
    for (int row = 1; row <= 8; ++row) {
        StringGrid3->SetCell(0, row, QLatin1Char(' ') + QString::number(row));
        for (int col : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
            auto *box = new QCheckBox(GroupBox3);
            box->setAutoFillBackground(true);
            box->setBackgroundRole(QPalette::Base);
            StringGrid3->SetObject(col, row, box);
        }
        auto *action = new QComboBox(GroupBox3);
        action->addItems(actions);
        action->setCurrentIndex(-1);
        SetTag(action, row);
        StringGrid3->SetObject(colAction, row, action);
        connect(action, &QComboBox::currentIndexChanged, this, [this, action] { ComboBoxActionGrChange(action); });
        auto *parameter = new ParameterBox(GroupBox3);
        parameter->addItems(reactions);
        parameter->setCurrentIndex(-1);
        StringGrid3->SetObject(colParameter, row, parameter);
        parameter->SetWanted(false);
    }
    StringGrid3->SetColWidth(0, 28);
    StringGrid3->SetColWidth(colEnabled, 24);
    StringGrid3->SetColWidth(colTime, 52);
    for (int col = colMonday; col <= colInfo; ++col)
        StringGrid3->SetColWidth(col, col < colTest ? 30 : 40);
    // The combo boxes over the cells as wide as their items, beside the grid line.
    for (int col : {colAction, colParameter})
        StringGrid3->SetColWidth(col, LineComboBox(col, 1)->sizeHint().width() + 1);
    for (int col = 1; col < 14; ++col)
        designedWidths_[std::size_t(col)] = StringGrid3->ColWidth(col);
    // Narrowed, a column stays as wide as its heading and its cells need
    // (FitColumns), not as wide as a heading of the style's choice.
    StringGrid3->horizontalHeader()->setMinimumSectionSize(0);
    StringGrid3->viewport()->installEventFilter(this);
    StringGrid3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid3->setMinimumHeight(StringGrid3->RowHeight(1) * 9 + 8);
    StringGrid3->OnGetEditMask = [this](int col, int row) { return StringGrid3GetEditMask(col, row); };
    StringGrid3->OnSelectCell = [this](int col, int row) { StringGrid3SelectCell(col, row); };
    auto *scheduler = new QVBoxLayout(GroupBox3);
    scheduler->addWidget(StringGrid3);
    body->addWidget(GroupBox3, 1);
}

bool PageClock::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid3->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return ConfigPage::eventFilter(watched, event);
}

// In a narrow view the check and time columns narrow, down to what their
// headings and cells need, so that the action boxes stand whole at the
// view's edge; the parameter boxes lie beyond it, and the grid scrolls
// sideways to them.
void PageClock::FitColumns()
{
    std::vector<ColumnRoom> columns;
    for (int col = 1; col < 14; ++col)
        columns.push_back({StringGrid3->LeastColWidth(col), designedWidths_[std::size_t(col)]});
    const std::vector<int> widths = ColumnWidths(columns, StringGrid3->viewport()->width());
    for (int col = 1; col < 14; ++col)
        StringGrid3->SetColWidth(col, widths[std::size_t(col - 1)]);
}

QCheckBox *PageClock::LineCheckBox(int col, int row) const
{
    return qobject_cast<QCheckBox *>(StringGrid3->Object(col, row));
}

QComboBox *PageClock::LineComboBox(int col, int row) const
{
    return qobject_cast<QComboBox *>(StringGrid3->Object(col, row));
}

QString PageClock::StringGrid3GetEditMask(int col, int) const
{
    return col == colTime ? TimeMask : QString();
}

void PageClock::StringGrid3SelectCell(int col, int)
{
    StringGrid3->SetEditing(col == colTime);
}

void PageClock::ComboBoxActionGrChange(QComboBox *action)
{
    auto *parameter = dynamic_cast<ParameterBox *>(LineComboBox(colParameter, Tag(action)));
    if (parameter == nullptr)
        return;
    const int index = action->currentIndex();
    const bool controlsOutput = index >= 3 && index <= 6;
    parameter->SetWanted(controlsOutput);
    if (!controlsOutput)
        ShowIndex(parameter, 0);
}

void PageClock::StorePage(int, ControllerConfig &config)
{
    using L = ScheduleLine;
    for (int row = 1; row <= L::Count; ++row) {
        const FieldView line = RecordView<L>(config.ConfigImage, row - 1);
        line.Set(L::Enabled, Bit(LineCheckBox(colEnabled, row)));
        const QString time = StringGrid3->Cell(colTime, row);
        line.Set(L::Hour, TimePart(time, 0));
        line.Set(L::Minute, TimePart(time, 3));
        quint32 days = 0;
        for (int day = 0; day < 7; ++day)
            days |= Bit(LineCheckBox(colMonday + day, row)) << day;
        line.Set(L::Days, days);
        line.Set(L::Test, Bit(LineCheckBox(colTest, row)));
        line.Set(L::Info, Bit(LineCheckBox(colInfo, row)));

        const int action = LineComboBox(colAction, row)->currentIndex();
        const int parameter = LineComboBox(colParameter, row)->currentIndex();
        if (action < saOutputControl) {
            line.Set(L::Action, action);
            line.Set(L::Parameter, parameter);
        } else if (action < 10) {
            line.Set(L::Action, saOutputControl);
            line.Set(L::ActionOutput, action - saOutputControl);
            line.Set(L::ActionReaction, parameter);
        } else {
            line.Set(L::Action, saReserved);
            line.Set(L::Parameter, action - 10);
        }
    }

    const FieldView image = View(config.ConfigImage);
    quint32 inputs = 0, outputs = 0;
    for (int n = 0; n < 16; ++n)
        inputs |= Bit(CheckBoxInfoIn[n]) << n;
    for (int k = 0; k < 7; ++k)
        outputs |= Bit(CheckBoxInfoR[k]) << k;
    image.Set(ClockFields::InfoIn, inputs);
    image.Set(ClockFields::InfoR, outputs);
    // No selection stores -13, which shows no selection again.
    image.Set(ClockFields::TimeZone, ComboBoxTimeZone->currentIndex() - 12);
    image.Set(ClockFields::DSTEnable, Bit(CheckBoxDSTEnable));
}

void PageClock::ShowPage(int, ControllerConfig &config)
{
    using L = ScheduleLine;
    for (int row = 1; row <= L::Count; ++row) {
        const ConstFieldView line = RecordView<L>(std::as_const(config.ConfigImage), row - 1);
        ShowBit(LineCheckBox(colEnabled, row), line.Get(L::Enabled));
        StringGrid3->SetCell(colTime, row, TwoDigits(line.Get(L::Hour)) + QLatin1Char(':') + TwoDigits(line.Get(L::Minute)));
        const quint32 days = line.Get(L::Days);
        for (int day = 0; day < 7; ++day)
            ShowBit(LineCheckBox(colMonday + day, row), (days >> day) & 1);
        ShowBit(LineCheckBox(colTest, row), line.Get(L::Test));
        ShowBit(LineCheckBox(colInfo, row), line.Get(L::Info));

        QComboBox *action = LineComboBox(colAction, row);
        QComboBox *parameter = LineComboBox(colParameter, row);
        qint64 actionIndex = 0, parameterIndex = 0;
        switch (line.Get(L::Action)) {
        case saNone:
        case saArm:
        case saDisarm:
            actionIndex = line.Get(L::Action);
            parameterIndex = line.Get(L::Parameter);
            break;
        case saOutputControl:
            actionIndex = line.Get(L::ActionOutput) + saOutputControl;
            parameterIndex = line.Get(L::ActionReaction);
            break;
        case saReserved:
            actionIndex = line.Get(L::Parameter) + 10;
            parameterIndex = line.Get(L::Parameter);
            break;
        default:
            break;
        }
        ShowIndex(action, actionIndex);
        ComboBoxActionGrChange(action);
        ShowIndex(parameter, parameterIndex);
    }

    const ConstFieldView image = View(std::as_const(config.ConfigImage));
    const quint32 inputs = image.Get(ClockFields::InfoIn), outputs = image.Get(ClockFields::InfoR);
    for (int n = 0; n < 16; ++n)
        ShowBit(CheckBoxInfoIn[n], (inputs >> n) & 1);
    for (int k = 0; k < 7; ++k)
        ShowBit(CheckBoxInfoR[k], (outputs >> k) & 1);
    ShowIndex(ComboBoxTimeZone, image.Get(ClockFields::TimeZone) + 12);
    ShowBit(CheckBoxDSTEnable, image.Get(ClockFields::DSTEnable));
}
