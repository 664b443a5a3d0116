#pragma once
// The voice programmer's about box: the program, its version, the maker's web
// page and support mail links, and the device versions it serves.
#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The main window's caption is taken now; the window owns the box.
    explicit TAboutBox(QWidget *mainWindow);

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *OKButton = nullptr;

    void Label4Click();
    void Label5Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString mainCaption_;
};
