// The main window's file actions: new, open and save, with their dialogs
// and messages.
#include "configurator/core/ConfigFiles.h"
#include "tests/configurator/MainWindowFixture.h"
#include "tests/support/Files.h"

#include <QAction>
#include <QFile>
#include <QTest>

namespace {

const QString OpenCaption = QStringLiteral("Открытие файла конфигурации");
const QString SaveCaption = QStringLiteral("Сохранение конфигурации");

QString Phone(const ConfigImage &image, int record)
{
    return RecordView<ConnectionRecord>(image, record).Get(ConnectionRecord::Phone);
}

void SetPhone(ConfigImage &image, int record, QStringView phone)
{
    RecordView<ConnectionRecord>(image, record).Set(ConnectionRecord::Phone, phone);
}

// A configuration file as SaveConfigFile writes it, then changed.
QByteArray ConfigFileBytes(const QString &phone, const std::function<void(QByteArray &)> &change = {})
{
    QTemporaryDir dir;
    ConfigImage image = DefaultImage();
    SetPhone(image, 0, phone);
    const QString path = dir.filePath("x.cnt");
    if (SaveConfigFile(path, image) != frOk)
        return {};
    QByteArray bytes = ReadAll(path);
    if (change)
        change(bytes);
    return bytes;
}

} // namespace

using Change = std::function<void(QByteArray &)>;
Q_DECLARE_METATYPE(Change)

class TstMainWindowFiles : public QObject {
    Q_OBJECT
private slots:
    void newSetsTheDefaultsAndShowsThePage();
    void openCancelledChangesNothing();
    void openShowsTheFile();
    void openRefusesBadFiles_data();
    void openRefusesBadFiles();
    void saveStoresThePageFirst();
    void saveAsksBeforeReplacing_data();
    void saveAsksBeforeReplacing();
    void saveReportsAFailure();
};

void TstMainWindowFiles::newSetsTheDefaultsAndShowsThePage()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    f.form->SelectPage(Pages::FirstConnection + 2);
    SetPhone(form.ControllerConfig.ConfigImage, 2, u"12345");
    form.ControllerConfig.ModeMemory.fill(0x11);
    form.SetPanelText(FilePanel, QStringLiteral("/somewhere/else.cnt"));
    f.log.clear();

    form.FileNew1->trigger();
    QVERIFY(form.ControllerConfig.ConfigImage == DefaultImage());
    ModeMemory untouched;
    untouched.fill(0x11);
    QVERIFY(form.ControllerConfig.ModeMemory == untouched); // only the image changes
    QCOMPARE(f.log, QStringList{"Show 4"});                                // shown, not stored first
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TstMainWindowFiles::openCancelledChangesNothing()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    f.form->SelectPage(Pages::FirstConnection + 2);
    f.log.clear();
    const ConfigImage before = form.ControllerConfig.ConfigImage;

    form.FileOpen1->trigger();
    QCOMPARE(f.dialogs.dialogTitles, QStringList{OpenCaption});
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QVERIFY(f.log.isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
}

void TstMainWindowFiles::openShowsTheFile()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    f.form->SelectPage(Pages::FirstConnection + 1);
    SetPhone(form.ControllerConfig.ConfigImage, 0, u"typed, not stored");
    f.log.clear();
    const QString path = f.Path("site.cnt");
    WriteAll(path, ConfigFileBytes(QStringLiteral("+74950000000")));
    f.dialogs.chosenFile = path;

    form.FileOpen1->trigger();
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(Phone(form.ControllerConfig.ConfigImage, 0), QStringLiteral("+74950000000"));
    QCOMPARE(f.log, QStringList{"Show 3"}); // the page on screen is not stored first
    QCOMPARE(form.PanelText(FilePanel), path);
}

void TstMainWindowFiles::openRefusesBadFiles_data()
{
    QTest::addColumn<Change>("change"); // null: the file does not exist
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << Change() << "Невозможно открыть файл";
    QTest::newRow("one image byte changed") << Change([](QByteArray &b) { b[35 + 700] = char(b[35 + 700] ^ 1); })
                                            << "Неизвестный формат файла";
    QTest::newRow("too short") << Change([](QByteArray &b) { b.chop(1); }) << "Неизвестный формат файла";
    QTest::newRow("empty") << Change([](QByteArray &b) { b.clear(); }) << "Неизвестный формат файла";
    QTest::newRow("other version") << Change([](QByteArray &b) { b[33] = '1'; })
                                   << "Несоответствие версий! Файл не может быть использован для "
                                      "конфигурирования этого устройства.";
}

void TstMainWindowFiles::openRefusesBadFiles()
{
    QFETCH(Change, change);
    QFETCH(QString, message);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    f.form->SelectPage(Pages::FirstConnection);
    f.log.clear();
    const ConfigImage before = form.ControllerConfig.ConfigImage;
    const QString path = f.Path("bad.cnt");
    if (change)
        WriteAll(path, ConfigFileBytes(QStringLiteral("+7111"), change));
    f.dialogs.chosenFile = path;

    form.FileOpen1->trigger();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].text, message);
    QCOMPARE(f.dialogs.messages[0].caption, OpenCaption);
    QCOMPARE(f.dialogs.messages[0].flags, unsigned(MB_OK | MB_ICONWARNING));
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QVERIFY(f.log.isEmpty());
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
}

void TstMainWindowFiles::saveStoresThePageFirst()
{
    MainWindowFixture f;
    f.onStore = [](int page, ControllerConfig &config) {
        SetPhone(config.ConfigImage, page - Pages::FirstConnection, u"+7222");
    };
    TForm1 &form = f.Open();
    f.form->SelectPage(Pages::FirstConnection + 3);
    RecordView<ConnectionRecord>(form.ControllerConfig.ConfigImage, 0).Set(ConnectionRecord::Phone, u"+7333");
    View(form.ControllerConfig.ConfigImage).Set(GeneralFields::SystemPassword, u"admin");
    f.log.clear();
    const QString path = f.Path("saved.cnt");
    f.dialogs.chosenFile = path;

    form.FileSave1->trigger();
    QCOMPARE(f.dialogs.presetNames, QStringList{"default.cnt"}); // preset from panel 0
    QCOMPARE(f.dialogs.dialogTitles, QStringList{SaveCaption});
    QCOMPARE(f.log, QStringList({"Store 5", "Show 5"}));
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(form.PanelText(FilePanel), path);
    ConfigImage saved{};
    QCOMPARE(LoadConfigFile(path, saved), int(frOk));
    QCOMPARE(Phone(saved, 3), QStringLiteral("+7222"));
    QCOMPARE(Phone(saved, 0), QStringLiteral("+7333"));
    QCOMPARE(View(saved).Get(GeneralFields::SystemPassword), QString()); // never in a file
    QCOMPARE(View(form.ControllerConfig.ConfigImage).Get(GeneralFields::SystemPassword), QStringLiteral("admin"));

    // Cancelled: the page is stored all the same, nothing is written.
    f.log.clear();
    f.dialogs.chosenFile.clear();
    form.FileSave1->trigger();
    QCOMPARE(f.dialogs.presetNames.last(), path);
    QCOMPARE(f.log, QStringList({"Store 5", "Show 5"}));
    QCOMPARE(QDir(f.dir.path()).entryList({"*.cnt"}), QStringList{"saved.cnt"});
}

void TstMainWindowFiles::saveAsksBeforeReplacing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << int(IDYES) << true;
    QTest::newRow("no") << int(IDNO) << false;
}

void TstMainWindowFiles::saveAsksBeforeReplacing()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    MainWindowFixture f;
    TForm1 &form = f.Open();
    const QString path = f.Path("old.cnt");
    WriteAll(path, "old content");
    f.dialogs.chosenFile = path;
    f.dialogs.answer = answer;

    form.FileSave1->trigger();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Файл уже существует, заменить?"));
    QCOMPARE(f.dialogs.messages[0].caption, SaveCaption);
    QCOMPARE(f.dialogs.messages[0].flags, unsigned(MB_YESNO | MB_ICONWARNING));
    QCOMPARE(ReadAll(path).size(), replaced ? ConfigFileSize : 11);
    QCOMPARE(form.PanelText(FilePanel), replaced ? path : QStringLiteral("default.cnt"));
}

void TstMainWindowFiles::saveReportsAFailure()
{
    MainWindowFixture f;
    TForm1 &form = f.Open();
    const ConfigImage before = form.ControllerConfig.ConfigImage;
    f.dialogs.chosenFile = f.Path("no-such-folder/x.cnt");

    form.FileSave1->trigger();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Невозможно сохранить файл"));
    QCOMPARE(f.dialogs.messages[0].caption, SaveCaption);
    QCOMPARE(f.dialogs.messages[0].flags, unsigned(MB_OK | MB_ICONWARNING));
    QCOMPARE(form.PanelText(FilePanel), QStringLiteral("default.cnt"));
    QVERIFY(form.ControllerConfig.ConfigImage == before);
}

QTEST_MAIN(TstMainWindowFiles)
#include "tst_mainwindow_files.moc"
