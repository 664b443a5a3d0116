#pragma once
// The voice programmer's about box: the program, its version, the maker's web
// page and support mail links, and the device versions it serves.
#include "common/AboutBoxBase.h"

class QPlainTextEdit;

class TAboutBox : public TAboutBoxBase {
    Q_OBJECT
public:
    // The main window's caption is taken now; the window owns the box.
    explicit TAboutBox(QWidget *mainWindow);

    QPlainTextEdit *Memo1 = nullptr;

protected:
    QString MailSubject() const override { return mainCaption_; }

private:
    QString mainCaption_;
};
