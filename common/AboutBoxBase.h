#pragma once
// What both programs' about boxes share: the program icon and title, the
// version line, the maker's web page and support mail links, and OK.
#include <QDialog>

class QFrame;
class QGridLayout;
class QIcon;
class QLabel;
class QPushButton;

class TAboutBoxBase : public QDialog {
    Q_OBJECT
public:
    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *OKButton = nullptr;

    void Label4Click();
    void Label5Click();

protected:
    // mainWindow owns the box; versionText goes into Label3.
    TAboutBoxBase(QWidget *mainWindow, const QString &versionText, const QIcon &programIcon, qreal titleScale,
                  int textWidth);
    // The program's own line under the links (row 4 of the panel).
    void SetDetail(QWidget *detail);
    // The subject of the support mail.
    virtual QString MailSubject() const = 0;
    // Opens in the middle of the screen.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *mainWindow() const { return mainWindow_; }

private:
    QWidget *mainWindow_;
    QGridLayout *panel_ = nullptr;
};
