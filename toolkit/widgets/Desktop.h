#pragma once
// What a program sets up on the desktop before its first window, and where
// its dialogs open.
#include <QString>

class QIcon;
class QWidget;

// Qt's own texts (file dialogs, message-box buttons, the edits' context
// menus) in Russian, as every other text of the programs, whatever the
// user's locale: qtbase_ru.qm from `directory`. Without it Qt's English
// stays; false tells so.
bool InstallQtTranslation(const QString &directory);

// The translation from Qt's own translations folder, and the program's icon
// as the icon of every window.
void SetUpDesktop(const QIcon &programIcon);

// Moves a window, before it is shown, to the centre of the work area of the
// screen its owner is on (the primary screen when it has none), or of the
// whole desktop that all screens make up.
void CentreOnScreen(QWidget *window);
void CentreOnDesktop(QWidget *window);

// The width a window takes for the window manager's title bar to show its
// whole caption beside the frame's icon and three buttons: the caption in
// bold, a square of the title bar's height for each, and one more for the
// bar's margins.
int CaptionWidth(const QWidget *window);
