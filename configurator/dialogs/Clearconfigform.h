#pragma once
// The half-hour countdown before a factory reset: the controller must stay
// connected all the while; the reset goes ahead only when it runs out.
#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TFormClearConfig : public QDialog {
    Q_OBJECT
public:
    // deviceOffline: true when the polling thread found no controller at its
    // last identification.
    explicit TFormClearConfig(std::function<bool()> deviceOffline, QWidget *parent = nullptr);

    // 1 only when the countdown ran out.
    quint8 CountdownDone = 0;

    QLabel *Label1 = nullptr;
    QLabel *LabelCountDoenSec = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Button1 = nullptr;
    QTimer *Timer1 = nullptr;

    // One second of the countdown.
    void Timer1Timer();

    // No tick after the dialog ended.
    void done(int result) override;

protected:
    // Opens in the middle of the screen.
    void showEvent(QShowEvent *event) override;

private:
    void ShowSeconds();

    std::function<bool()> deviceOffline_;
};
