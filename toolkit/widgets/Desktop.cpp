#include "toolkit/widgets/Desktop.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLayout>
#include <QLibraryInfo>
#include <QScreen>
#include <QStyle>
#include <QTranslator>
#include <QWidget>

namespace {

QScreen *OwnersScreen(const QWidget *window)
{
    const QWidget *owner = window->parentWidget() != nullptr ? window->parentWidget()->window() : window;
    QScreen *screen = owner->screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

void CentreIn(QWidget *window, const QRect &area)
{
    // At the size its texts of the moment give it.
    if (QLayout *layout = window->layout())
        layout->activate();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

} // namespace

bool InstallQtTranslation(const QString &directory)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"), directory) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void SetUpDesktop(const QIcon &programIcon)
{
    InstallQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QApplication::setWindowIcon(programIcon);
}

int CaptionWidth(const QWidget *window)
{
    QFont bold = window->font();
    bold.setBold(true);
    const int square = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 5 * square;
}

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = OwnersScreen(window))
        CentreIn(window, screen->availableGeometry());
}

void CentreOnDesktop(QWidget *window)
{
    if (const QScreen *screen = OwnersScreen(window))
        CentreIn(window, screen->availableVirtualGeometry());
}
