#pragma once
// Page 10: clock, information message and task scheduler.
#include "configurator/pages/ConfigPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class TMaskEdit;
class TStringGrid;

class PageClock : public ConfigPage {
    Q_OBJECT
public:
    explicit PageClock(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label5; }
    void StorePage(int page, ControllerConfig &config) override;
    void ShowPage(int page, ControllerConfig &config) override;

    // The scheduler grid: the time column is edited in place with its mask,
    // the other cells through their controls.
    QString StringGrid3GetEditMask(int col, int row) const;
    void StringGrid3SelectCell(int col, int row);
    // Shows the line's reaction box (column 13) while its action (column 12,
    // property "Tag" = row) controls an output; otherwise hides it at its first item.
    void ComboBoxActionGrChange(QComboBox *action);

    // The scheduler's columns.
    enum Column {
        colEnabled = 1,
        colTime = 2,
        colMonday = 3, // .. 9 Sunday
        colTest = 10,
        colInfo = 11,
        colAction = 12,
        colParameter = 13,
    };
    QCheckBox *LineCheckBox(int col, int row) const;
    QComboBox *LineComboBox(int col, int row) const;

    QLabel *Label5;
    // Clock; the main window binds the clock buttons and the controller-time edit.
    QGroupBox *GroupBox8;
    QLabel *Label16;
    TMaskEdit *MaskEditPCCurTime;
    QLabel *Label28;
    TMaskEdit *MaskEditContrCurTime;
    QPushButton *Button2;
    QPushButton *Button3;
    QLabel *Label130;
    QComboBox *ComboBoxTimeZone;
    QCheckBox *CheckBoxDSTEnable;

    // CheckBoxInfoIn[n - 1] = CheckBoxInfoIn<n>; CheckBoxInfoR[k] = CheckBoxInfoR<k + 1>
    // with its label InfoOutputLabels[k] = Label<121 + k>.
    QGroupBox *GroupBoxInfoMsgContent;
    std::array<QCheckBox *, 16> CheckBoxInfoIn{};
    std::array<QCheckBox *, 7> CheckBoxInfoR{};
    std::array<QLabel *, 7> InfoOutputLabels{};

    QGroupBox *GroupBox3;
    TStringGrid *StringGrid3;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FitColumns();

    // The scheduler's column widths where the view has room for them all.
    std::array<int, 14> designedWidths_{};
};
