#pragma once
// The configurator's about box: the program, the device version it serves,
// and the maker's web page and support mail links.
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The main window gives the title shown and is the owner of the box.
    explicit TAboutBox(QWidget *mainWindow);

    // The creator replaces it by its own (translatable) text.
    QString VersionLabelPrefix;

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *OKButton = nullptr;

    // At every activation: the main window's title and the device version.
    void FormActivate();
    void Label4Click();
    void Label5Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *mainWindow_;
};
