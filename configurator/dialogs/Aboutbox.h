#pragma once
// The configurator's about box: the program, the device version it serves,
// and the maker's web page and support mail links.
#include "common/AboutBoxBase.h"

#include <QString>

class TAboutBox : public TAboutBoxBase {
    Q_OBJECT
public:
    // The main window gives the title shown and is the owner of the box.
    explicit TAboutBox(QWidget *mainWindow);

    // The creator replaces it by its own (translatable) text.
    QString VersionLabelPrefix;

    QLabel *Label2 = nullptr;

    // At every activation: the main window's title and the device version.
    void FormActivate();

protected:
    QString MailSubject() const override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
};
