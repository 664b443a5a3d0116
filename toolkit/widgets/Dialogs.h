#pragma once
// Message boxes and file dialogs behind one small interface, so that tests
// can answer them without a screen. The programs use the Windows flag and
// answer values they were written with.
#include <QString>
#include <QStringList>

class QWidget;

// Flags of MessageBox (combine one button set with one icon).
enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
// Answers.
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// A file dialog's settings as the forms hold them; Execute runs it.
class TFileDialog {
public:
    enum Kind { Open, Save };
    explicit TFileDialog(Kind kind) : kind_(kind) {}

    QString Title;
    // "Description (*.ext)|*.ext" pairs, as the forms give them.
    QString Filter;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    bool FileMustExist = false;
    bool PathMustExist = false;

    Kind kind() const { return kind_; }
    // True when the user chose a file; FileName then holds its whole path.
    bool Execute(QWidget *parent = nullptr);

private:
    Kind kind_;
};

class TOpenDialog : public TFileDialog {
public:
    TOpenDialog() : TFileDialog(Open) {}
};

class TSaveDialog : public TFileDialog {
public:
    TSaveDialog() : TFileDialog(Save) {}
};

class IDialogProvider {
public:
    virtual ~IDialogProvider() = default;
    virtual int ShowMessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags) = 0;
    // Sets dialog.FileName and returns true, or returns false for a cancel.
    virtual bool ShowFileDialog(QWidget *parent, TFileDialog &dialog) = 0;
};

// Shows a modal message box; returns IDOK, IDCANCEL, IDYES or IDNO.
int MessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags);

// The provider in use: Qt's own dialogs unless a test installed another.
IDialogProvider &DialogProvider();
// Null restores Qt's dialogs. The provider is not owned.
void SetDialogProvider(IDialogProvider *provider);
