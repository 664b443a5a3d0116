#pragma once
// Asks for the value an analogue input should show now; the input page
// shifts its scale so that the current reading shows it.
#include <QDialog>

class QLabel;
class QPushButton;
class TMaskEdit;

class TFormCalibration : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalibration(QWidget *parent = nullptr);

    // The value typed, read when OK was chosen (0 until then).
    double WantedValue() const { return wantedValue_; }

    // OK: takes the typed value and closes the dialog with Accepted.
    void Button1Click();
    // Enter in the edit counts as OK; other keys are ordinary editing.
    // Returns true when the key was taken.
    bool MaskEditNeedValKeyDown(int key);

    QLabel *Label1;
    TMaskEdit *MaskEditNeedVal;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    double wantedValue_ = 0.0;
};
