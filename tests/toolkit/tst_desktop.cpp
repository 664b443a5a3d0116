// What a program sets up before its first window: Qt's own texts in Russian
// whatever the user's locale, and the program's icon on its windows.
#include "toolkit/widgets/Desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

QString CancelButtonText()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

QString FileDialogLookIn()
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QLabel *label = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    return label != nullptr ? label->text() : QString();
}

QStringList EditMenu()
{
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
    return texts;
}

} // namespace

class TstDesktop : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void qtTextsInRussian_data();
    void qtTextsInRussian();
    void missingTranslationKeepsEnglish();
    void programIconOnItsWindows();
};

void TstDesktop::cleanup()
{
    for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale::system());
}

void TstDesktop::qtTextsInRussian_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia);
}

void TstDesktop::qtTextsInRussian()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    QVERIFY(InstallQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCOMPARE(CancelButtonText(), QStringLiteral("Отмена"));
    QCOMPARE(FileDialogLookIn(), QStringLiteral("Перейти к:"));
    QVERIFY2(EditMenu().contains(QStringLiteral("&Копировать")), qPrintable(EditMenu().join(QLatin1Char(' '))));
}

void TstDesktop::missingTranslationKeepsEnglish()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QTemporaryDir empty;
    QVERIFY(!InstallQtTranslation(empty.path()));
    QCOMPARE(CancelButtonText(), QStringLiteral("Cancel"));
    QCOMPARE(FileDialogLookIn(), QStringLiteral("Look in:"));
}

void TstDesktop::programIconOnItsWindows()
{
    QPixmap square(32, 32);
    square.fill(Qt::darkCyan);
    const QIcon icon(square);
    SetUpDesktop(icon);
    QWidget window;
    QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
    QCOMPARE(CancelButtonText(), QStringLiteral("Отмена"));
}

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
