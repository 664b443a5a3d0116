#pragma once
// The COM-port choice of both programs: the user picks a port name; OK keeps
// it only when that port opens. However the dialog ends, the port is left
// closed and the status panel tells whether the chosen port could be opened.
#include <QDialog>
#include <QString>
#include <functional>

class QFrame;
class QPushButton;
class QVBoxLayout;
class TComComboBox;
class TCustomComPort;

class TComPortDialog : public QDialog {
    Q_OBJECT
public:
    // The creator replaces it by its own (translatable) text.
    QString FailureText;

    QFrame *Bevel1 = nullptr;
    TComComboBox *ComComboBox1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    void Button1Click();
    void Button2Click();
    // Every way of closing ends here, the caption's close box included.
    void FormClose();

    void done(int result) override;

protected:
    // centre: places the dialog when it opens.
    TComPortDialog(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                   void (*centre)(QWidget *), QWidget *parent);
    void showEvent(QShowEvent *event) override;
    // A new caption (the language file's): the dialog widens to show it whole.
    void changeEvent(QEvent *event) override;
    // Where the form places the port list.
    QVBoxLayout *BevelLayout() const { return bevelLayout_; }

private:
    void ShowPortPanel();
    void FitCaption();

    TCustomComPort &port_;
    std::function<void(const QString &)> setPortPanel_;
    void (*centre_)(QWidget *);
    QVBoxLayout *bevelLayout_ = nullptr;
};

// The configurator's form: the list on a panel of its own, in the middle of the desktop.
class TFormCOMPortConfig : public TComPortDialog {
    Q_OBJECT
public:
    TFormCOMPortConfig(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                       QWidget *parent = nullptr);

    QFrame *Panel1 = nullptr;
};

// The voice programmer's form: the list straight on the form, in the middle of the screen.
class TFormCOMPortSetup : public TComPortDialog {
    Q_OBJECT
public:
    TFormCOMPortSetup(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                      QWidget *parent = nullptr);
};
