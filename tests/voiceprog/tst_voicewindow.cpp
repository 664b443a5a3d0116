// The voice programmer's window without device actions: start-up and close
// with their files, the event list and memory view, WAV import and file
// actions with their messages, the about box, the COM-port dialog and the
// language file.
#include "voiceprog/VoiceAboutbox.h"
#include "common/Comportconfig.h"
#include "common/Contacts.h"
#include "common/ProgramIcons.h"
#include "link/Readdata.h"
#include "common/StatusPanels.h"
#include "voiceprog/core/VoiceFiles.h"
#include "voiceprog/VoiceLanguage.h"
#include "voiceprog/VoiceTexts.h"
#include "tests/voiceprog/VoiceWindowFixture.h"
#include "toolkit/Win1251.h"
#include "tests/support/WindowSystemInput.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>

#include <sys/stat.h>

using namespace voicetest;

namespace {

const QString EmptyBankMemory = QStringLiteral("Занято: 0 Сек.    Свободно: 261.8 Сек.");

// Runs check on the modal dialog that the next call opens, then closes it.
void OnNextModal(const std::function<void(QWidget *)> &check)
{
    QTimer::singleShot(0, [check] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        check(modal);
        modal->close();
    });
}

// A language file: the marker, then line n reads "L<n>", with the lines given replaced.
QByteArray LanguageFile(int lineCount, const QMap<int, QString> &lines = {}, const char *lineEnd = "\n",
                        const QString &marker = QLatin1String(VoiceLanguageMarker))
{
    QStringList all;
    for (int n = 0; n < lineCount; ++n)
        all << (n == 0 ? marker : lines.value(n, QStringLiteral("L%1").arg(n)));
    return ToWin1251(all.join(QLatin1String(lineEnd)) + QLatin1String(lineEnd));
}

enum class Damage { None, FlipImageByte, FlipCheckByte, CutLastByte, ForeignHeader, Missing };

// A voice file whose one message is `samples` samples in `slot`, damaged as asked.
void WriteVoiceFile(const QString &path, int slot, int samples, Damage damage)
{
    VoiceBank bank;
    for (int k = 0; k < samples; ++k)
        bank.AppendSample(std::uint8_t(slot), std::int16_t(k * 37));
    bank.BuildImage();
    QCOMPARE(SaveVoiceFile(path, bank.Image()), 0);
    QByteArray file = ReadAll(path);
    switch (damage) {
    case Damage::None: break;
    case Damage::FlipImageByte: file[5000] = char(file[5000] ^ 0x40); break;
    case Damage::FlipCheckByte: file[file.size() - 1] = char(file.back() ^ 1); break;
    case Damage::CutLastByte: file.chop(1); break;
    case Damage::ForeignHeader: file[1] = 'v'; break;
    case Damage::Missing: QVERIFY(QFile::remove(path)); return;
    }
    QVERIFY(WriteFile(path, file));
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TstVoiceWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SelectMemoryAreaTable(MemoryAreaTable::VoiceProgrammer); }

    void startUpShowsEmptyBank();
    void eventTexts_data();
    void eventTexts();
    void supportedVersionsTable();
    void workingCopyAtStartUp_data();
    void workingCopyAtStartUp();
    void portFromSettings_data();
    void portFromSettings();
    void closeSavesSettingsAndWorkingCopy();
    void keysRightAfterStartUpChangeNothing_data();
    void keysRightAfterStartUpChangeNothing();
    void tabGoesFromTheEventListToItsButtons();
    void durationOfSelectedEvent_data();
    void durationOfSelectedEvent();
    void deleteEmptiesSelectedEvent();
    void wavImportMessages_data();
    void wavImportMessages();
    void longRecordIsCutToFreeMemory();
    void gaugePaintsWhatTheLabelSays();
    void fullMemoryEmptiesSlotAndTellsSo();
    void openVoiceFile_data();
    void openVoiceFile();
    void saveVoiceFile_data();
    void saveVoiceFile();
    void clearMemory();
    void aboutBox();
    void portDialogTexts();
    void languageFileApplied();
    void languageFileIgnored_data();
    void languageFileIgnored();
    void languageFileThatIsNoRegularFileIsIgnored_data();
    void languageFileThatIsNoRegularFileIsIgnored();
    void everyNamedLanguageTargetExists();
};

void TstVoiceWindow::startUpShowsEmptyBank()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    QCOMPARE(w.windowTitle(), QStringLiteral("Программатор голосовых сообщений QRV610"));
    QCOMPARE(w.ComboBoxEvents->count(), VoiceEventCount);
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 0);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0 Сек."));
    QCOMPARE(w.Label3->text(), EmptyBankMemory);
    QCOMPARE(w.ProgressBar1->maximum(), int(VoiceCapacity));
    QCOMPARE(w.ProgressBar1->value(), 0);
    QCOMPARE(w.StatusPanel(FilePanel), QStringLiteral("default.vce"));
    QCOMPARE(w.StatusPanel(PortPanel), SimPort);
    QVERIFY(w.GroupBox15->isHidden());
    QCOMPARE(w.StatusMessages.size(), StatusMessageCount);
    QCOMPARE(w.SpeedButton9->toolTip(),
             QStringLiteral("Сравнить настоящие звуковые сообщения с сообщениями контроллера"));
    QCOMPARE(w.SpeedButton6->toolTip(), QStringLiteral("Загрузить звуковые сообщения в контроллер"));
    // The port as the voice programmer talks to its controller.
    QCOMPARE(w.ComPort1.BaudRate(), br115200);
    QCOMPARE(w.ComPort1.FlowControl()->ControlDTR(), dtrEnable);
    QCOMPARE(w.ComPort1.FlowControl()->ControlRTS(), rtsDisable);
    const TComTimeouts *t = w.ComPort1.Timeouts();
    QCOMPARE(QList<int>({t->ReadInterval(), t->ReadTotalMultiplier(), t->ReadTotalConstant(),
                         t->WriteTotalMultiplier(), t->WriteTotalConstant()}),
             QList<int>({200, 1, 400, 1, 400}));
    QVERIFY(w.ComPort1.Events() == TComEvents::All());
}

void TstVoiceWindow::eventTexts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Фраза в начале оповещения";
    QTest::newRow("2") << 2 << "Переход в режим \"ОХРАНА\"";
    QTest::newRow("4") << 4 << "Переход в режим \"НАБЛЮДЕНИЕ\"";
    QTest::newRow("5") << 5 << "Активен 1-й вход";
    QTest::newRow("12") << 12 << "Активен 8-й вход";
    QTest::newRow("13") << 13 << "1-й вход неактивен";
    QTest::newRow("20") << 20 << "8-й вход неактивен";
    QTest::newRow("21") << 21 << "Отключение внешнего питания";
    QTest::newRow("31") << 31 << "Переход на внешнее переговорное устроство";
    QTest::newRow("36") << 36 << "Вступительная фраза после введения пароля";
    QTest::newRow("37") << 37 << "Реле 1 - активное состояние";
    QTest::newRow("40") << 40 << "Реле 2 - пассивное состояние";
    QTest::newRow("41") << 41 << "Выход 1 - активное состояние";
    QTest::newRow("44") << 44 << "Выход 2 - пассивное состояние";
    QTest::newRow("50") << 50 << "Выход 5 - пассивное состояние";
    QTest::newRow("51") << 51 << "Вступительная фраза при выбора номера реле";
    QTest::newRow("56") << 56 << "Вспомогательная фраза: \"...для отмены дальнейшего оповещения...\"";
    QTest::newRow("57") << 57 << "Дальнейшее голосовое оповещение отменено";
    QTest::newRow("58") << 58 << "Имя 1-го пользователя";
    QTest::newRow("65") << 65 << "Имя 8-го пользователя";
    QTest::newRow("66") << 66 << "Имя 1-го ключа";
    QTest::newRow("97") << 97 << "Имя 32-го ключа";
}

void TstVoiceWindow::eventTexts()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    static const QStringList events = BuiltInVoiceEvents();
    QCOMPARE(events.size(), VoiceEventCount);
    QCOMPARE(events.at(index), text);
}

void TstVoiceWindow::supportedVersionsTable()
{
    const QStringList &versions = SupportedVersions();
    QCOMPARE(versions.size(), 27);
    QVERIFY(versions.contains(QStringLiteral("S.01.01")));
    const QRegularExpression form(QStringLiteral("^([A-Z]{1,8})\\.[0-9A-F]{2}\\.[0-9A-F]{2}$"));
    QSet<QString> modifications;
    for (const QString &v : versions) {
        const QRegularExpressionMatch m = form.match(v);
        QVERIFY2(m.hasMatch() && v.size() >= 7 && v.size() <= 14, qPrintable(v));
        modifications << m.captured(1);
    }
    QCOMPARE(QSet<QString>(versions.begin(), versions.end()).size(), versions.size());
    // Both models: S and LT of the QRV240, H of the QRV610.
    QVERIFY(modifications.contains(QStringLiteral("S")) && modifications.contains(QStringLiteral("LT"))
            && modifications.contains(QStringLiteral("H")));
}

void TstVoiceWindow::workingCopyAtStartUp_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("intact") << Damage::None << true;
    QTest::newRow("image byte changed") << Damage::FlipImageByte << false;
    QTest::newRow("check byte changed") << Damage::FlipCheckByte << false;
    QTest::newRow("one byte short") << Damage::CutLastByte << false;
    QTest::newRow("foreign header") << Damage::ForeignHeader << false;
    QTest::newRow("missing") << Damage::Missing << false;
}

void TstVoiceWindow::workingCopyAtStartUp()
{
    QFETCH(Damage, damage);
    QFETCH(bool, loaded);
    VoiceWindowFixture f;
    WriteVoiceFile(f.Path(QStringLiteral("default.vce")), 3, 12000, damage);

    TForm1 &w = f.Open();
    QCOMPARE(w.StatusPanel(FilePanel), QStringLiteral("default.vce"));
    QCOMPARE(w.Bank().UsedSamples(), loaded ? 12000u : 0u);
    QCOMPARE(w.Label3->text(), loaded ? QStringLiteral("Занято: 1.5 Сек.    Свободно: 260.3 Сек.") : EmptyBankMemory);
    QVERIFY(f.dialogs.boxes.empty());
}

void TstVoiceWindow::portFromSettings_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("port");
    const QByteArray header = "[PhraseLoaderProgramCfg]";
    const QByteArray magic = U32(0x58F5B912);
    QTest::newRow("COM5") << header + '\x05' + magic << "COM5";
    QTest::newRow("number 9 keeps the form's port") << header + '\x09' + magic << "COM1";
    QTest::newRow("wrong magic") << header + '\x05' + U32(0x58F5B913) << "COM2";
    QTest::newRow("short") << header + '\x05' << "COM2";
    QTest::newRow("missing") << QByteArray() << "COM2";
}

void TstVoiceWindow::portFromSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, port);
    VoiceWindowFixture f;
    const QString path = f.Path(QStringLiteral("plp.cfg"));
    if (settings.isEmpty())
        QVERIFY(QFile::remove(path));
    else
        QVERIFY(WriteFile(path, settings));
    TForm1 &w = f.Open();
    QCOMPARE(w.ComPort1.Port(), port);
    // None of these ports is in the table: the probe fails quietly.
    QCOMPARE(w.StatusPanel(PortPanel), QStringLiteral("NC"));
    QVERIFY(f.dialogs.boxes.empty());
}

void TstVoiceWindow::closeSavesSettingsAndWorkingCopy()
{
    VoiceWindowFixture f;
    f.UsePort(8);
    TForm1 &w = f.Open();
    QCOMPARE(w.StatusPanel(PortPanel), QStringLiteral("NC"));
    f.Import(40, Wav(8000), QStringLiteral("a.wav"));
    w.ComPort1.SetPort(QStringLiteral("COM5"));
    w.show();
    QVERIFY(w.close());

    const QByteArray settings = ReadAll(f.Path(QStringLiteral("plp.cfg")));
    QCOMPARE(settings, QByteArray("[PhraseLoaderProgramCfg]") + '\x05' + U32(0x58F5B912));
    QCOMPARE(QFileInfo(f.Path(QStringLiteral("default.vce"))).size(), VoiceFileSize);

    // The next start finds the message where it was left.
    const QByteArray codes(reinterpret_cast<const char *>(w.Bank().SlotCodes(40).data()),
                           qsizetype(w.Bank().SlotCodes(40).size()));
    TForm1 &again = f.Open();
    QCOMPARE(again.Bank().SampleCount(40), 8000u);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(again.Bank().SlotCodes(40).data()),
                        qsizetype(again.Bank().SlotCodes(40).size())),
             codes);
    QCOMPARE(again.ComPort1.Port(), QStringLiteral("COM5"));
}

void TstVoiceWindow::keysRightAfterStartUpChangeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("Space") << int(Qt::Key_Space) << " ";
    QTest::newRow("Return") << int(Qt::Key_Return) << "\r";
}

// The tool buttons are speed buttons: they never hold the focus, so a key
// pressed at once reaches the event list and no button's action.
void TstVoiceWindow::keysRightAfterStartUpChangeNothing()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    VoiceWindowFixture f;
    WriteVoiceFile(f.Path(QStringLiteral("default.vce")), 3, 12000, Damage::None);
    TForm1 &w = f.Open();
    const QList<QToolButton *> buttons = w.findChildren<QToolButton *>(QRegularExpression("^SpeedButton"));
    QCOMPARE(buttons.size(), 6);
    for (const QToolButton *button : buttons)
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);

    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.ComboBoxEvents);
    wsi::Key(&w, key, text);
    QTRY_VERIFY(!wsi::Queued());
    QCoreApplication::processEvents();
    w.ComboBoxEvents->hidePopup();
    QCOMPARE(w.Bank().SampleCount(3), 12000u);
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 0);
    QVERIFY(f.dialogs.boxes.empty());
    QVERIFY(f.dialogs.fileDialogs.empty());
}

// The list shows that it holds the keys as the window opens; the Tab key
// then goes as the group reads: the list, "Открыть", "Удалить", the list.
void TstVoiceWindow::tabGoesFromTheEventListToItsButtons()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.ComboBoxEvents);
    QStyleOptionComboBox drawn;
    drawn.initFrom(w.ComboBoxEvents);
    QVERIFY(drawn.state & QStyle::State_HasFocus);
    QVERIFY(drawn.state & QStyle::State_KeyboardFocusChange);
    for (QWidget *next : {static_cast<QWidget *>(w.BitBtn1), static_cast<QWidget *>(w.BitBtn2),
                          static_cast<QWidget *>(w.ComboBoxEvents)}) {
        wsi::Key(&w, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), next);
    }
}

void TstVoiceWindow::durationOfSelectedEvent_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("memory");
    QTest::newRow("8000") << 8000 << "1 Сек." << "Занято: 1 Сек.    Свободно: 260.8 Сек.";
    QTest::newRow("12000") << 12000 << "1.5 Сек." << "Занято: 1.5 Сек.    Свободно: 260.3 Сек.";
    QTest::newRow("1") << 1 << "0.000125 Сек." << "Занято: 0.000125 Сек.    Свободно: 261.8 Сек.";
}

void TstVoiceWindow::durationOfSelectedEvent()
{
    QFETCH(int, samples);
    QFETCH(QString, duration);
    QFETCH(QString, memory);
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(7, Wav(samples), QStringLiteral("a.wav"));
    QVERIFY(f.dialogs.boxes.empty());
    QCOMPARE(w.EditFragmentTime->text(), duration);
    QCOMPARE(w.Label3->text(), memory);
    QCOMPARE(w.ProgressBar1->value(), samples);
    // Another event shows its own (empty) message.
    w.ComboBoxEvents->setCurrentIndex(8);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0 Сек."));
    w.ComboBoxEvents->setCurrentIndex(7);
    QCOMPARE(w.EditFragmentTime->text(), duration);
}

void TstVoiceWindow::deleteEmptiesSelectedEvent()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(5, Wav(8000), QStringLiteral("a.wav"));
    f.Import(6, Wav(4000), QStringLiteral("b.wav"));
    w.ComboBoxEvents->setCurrentIndex(5);
    w.BitBtn2->click();
    QCOMPARE(w.Bank().SampleCount(5), 0u);
    QCOMPARE(w.Bank().SampleCount(6), 4000u);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0 Сек."));
    QCOMPARE(w.Label3->text(), QStringLiteral("Занято: 0.5 Сек.    Свободно: 261.3 Сек."));
    QVERIFY(f.dialogs.boxes.empty());
}

void TstVoiceWindow::wavImportMessages_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    const QString opening = QStringLiteral("Открытие файла");
    QTest::newRow("missing") << QByteArray() << "Невозможно открыть файл" << opening;
    QTest::newRow("too short") << QByteArray("RIFF\x10\0\0\0WAVE", 12) << "Ошибка при открытии файла" << opening;
    QTest::newRow("not a wave") << QByteArray("RIFX").append(Wav(10).mid(4)) << "Неверный формат файла" << opening;
    QTest::newRow("stereo") << Wav(10, 0, 2) << "Неверный формат файла.\nИспользуйте только WAV файл формата: "
                                                "PCM 8000 кГц; 16 бит; Моно."
                            << opening;
}

void TstVoiceWindow::wavImportMessages()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(9, Wav(800), QStringLiteral("old.wav"));
    const QString path = f.Path(QStringLiteral("new.wav"));
    if (!content.isEmpty())
        QVERIFY(WriteFile(path, content));
    f.dialogs.files.push_back(path);
    w.BitBtn1->click();

    QCOMPARE(f.dialogs.boxes.size(), size_t(1));
    QCOMPARE(f.dialogs.boxes[0].text, text);
    QCOMPARE(f.dialogs.boxes[0].caption, caption);
    QCOMPARE(f.dialogs.boxes[0].flags, 0x30u);
    // The event keeps its message.
    QCOMPARE(w.Bank().SampleCount(9), 800u);
    const auto &dialog = f.dialogs.fileDialogs.back();
    QCOMPARE(dialog.title, QStringLiteral("Открытие файла"));
    QCOMPARE(dialog.filter, QStringLiteral("Звуковые файлы (*.wav)|*.wav"));
    QCOMPARE(dialog.defaultExt, QStringLiteral("wav"));

    // Cancelling the dialog does nothing at all.
    w.BitBtn1->click();
    QCOMPARE(f.dialogs.boxes.size(), size_t(1));
    QCOMPARE(w.Bank().SampleCount(9), 800u);
}

void TstVoiceWindow::longRecordIsCutToFreeMemory()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    // Ten seconds left free.
    for (std::uint32_t k = 0; k < VoiceCapacity - 80000; ++k)
        w.Bank().AppendSample(0, std::int16_t(k));
    f.Import(12, Wav(120000), QStringLiteral("long.wav"));
    QCOMPARE(f.dialogs.boxes.size(), size_t(1));
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("Продолжительность звукового фрагмента превышает допустимое "
                                                     "значение.\nФрагмент будет урезан."));
    QCOMPARE(f.dialogs.boxes[0].caption, QStringLiteral("Загрузка звукового фрагмента"));
    QCOMPARE(w.Bank().SampleCount(12), 80000u);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("10 Сек."));
    QCOMPARE(w.Label3->text(), QStringLiteral("Занято: 261.8 Сек.    Свободно: 0 Сек."));
}

void TstVoiceWindow::gaugePaintsWhatTheLabelSays()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    // The value the memory gauge had each time it was painted on screen.
    struct PaintWatch : QObject {
        int painted = -1;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted = static_cast<QProgressBar *>(watched)->value();
            return false;
        }
    } watch;
    w.ProgressBar1->installEventFilter(&watch);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(watch.painted, 0);

    // Steps far smaller than the bar's width in pixels stand for.
    f.Import(3, Wav(24000), QStringLiteral("three.wav"));
    QCOMPARE(w.Label3->text(), QStringLiteral("Занято: 3 Сек.    Свободно: 258.8 Сек."));
    QTRY_COMPARE(watch.painted, 24000);
    f.Import(4, Wav(4000), QStringLiteral("half.wav"));
    QTRY_COMPARE(watch.painted, 28000);
    w.ComboBoxEvents->setCurrentIndex(3);
    w.BitBtn2->click();
    QTRY_COMPARE(watch.painted, 4000);
}

void TstVoiceWindow::fullMemoryEmptiesSlotAndTellsSo()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(12, Wav(8000), QStringLiteral("a.wav"));
    for (std::uint32_t k = 0; k < VoiceCapacity; ++k)
        w.Bank().AppendSample(0, std::int16_t(k));
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("1 Сек."));

    f.Import(12, Wav(100), QStringLiteral("b.wav"));
    QCOMPARE(f.dialogs.boxes.size(), size_t(1));
    QCOMPARE(f.dialogs.boxes[0].text,
             QStringLiteral("Загрузка звукового фрагмента невозможна.\nИспользовано 100% памяти."));
    QCOMPARE(f.dialogs.boxes[0].caption, QStringLiteral("Загрузка звукового фрагмента"));
    // The event's old message is gone, and the view says so.
    QCOMPARE(w.Bank().SampleCount(12), 0u);
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0 Сек."));
    QCOMPARE(w.Label3->text(), QStringLiteral("Занято: 261.8 Сек.    Свободно: 0 Сек."));
}

void TstVoiceWindow::openVoiceFile_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("intact") << Damage::None << "";
    QTest::newRow("image byte changed") << Damage::FlipImageByte << "Неизвестный формат файла";
    QTest::newRow("one byte short") << Damage::CutLastByte << "Невозможно открыть файл";
}

void TstVoiceWindow::openVoiceFile()
{
    QFETCH(Damage, damage);
    QFETCH(QString, message);
    VoiceWindowFixture f;
    const QString path = f.Path(QStringLiteral("messages.vce"));
    WriteVoiceFile(path, 20, 5000, damage);

    TForm1 &w = f.Open();
    f.Import(30, Wav(300), QStringLiteral("a.wav"));
    w.ComboBoxEvents->setCurrentIndex(20);
    f.dialogs.files.push_back(path);
    w.FileOpen1->trigger();
    QCOMPARE(f.dialogs.fileDialogs.back().title, QStringLiteral("Открытие файла голосовых сообщений"));
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 20);
    if (message.isEmpty()) {
        QVERIFY(f.dialogs.boxes.empty());
        QCOMPARE(w.StatusPanel(FilePanel), path);
        QCOMPARE(w.Bank().SampleCount(20), 5000u);
        QCOMPARE(w.Bank().SampleCount(30), 0u);
        QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0.625 Сек."));
    } else {
        QCOMPARE(f.dialogs.boxes.size(), size_t(1));
        QCOMPARE(f.dialogs.boxes[0].text, message);
        QCOMPARE(f.dialogs.boxes[0].caption, QStringLiteral("Открытие файла голосовых сообщений"));
        QCOMPARE(w.StatusPanel(FilePanel), QStringLiteral("default.vce"));
        QCOMPARE(w.Bank().SampleCount(30), 300u);
        QCOMPARE(w.Bank().SampleCount(20), 0u);
    }
}

void TstVoiceWindow::saveVoiceFile_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("new file") << false << 0 << true;
    QTest::newRow("replace: yes") << true << int(IDYES) << true;
    QTest::newRow("replace: no") << true << int(IDNO) << false;
}

void TstVoiceWindow::saveVoiceFile()
{
    QFETCH(bool, exists);
    QFETCH(int, answer);
    QFETCH(bool, written);
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(2, Wav(999), QStringLiteral("a.wav"));
    const QString path = f.Path(QStringLiteral("saved.vce"));
    if (exists)
        QVERIFY(WriteFile(path, "old"));
    f.dialogs.files.push_back(path);
    if (answer != 0)
        f.dialogs.answers.push_back(answer);
    w.FileSave1->trigger();

    QCOMPARE(f.dialogs.fileDialogs.back().presetName, QStringLiteral("default.vce"));
    QCOMPARE(f.dialogs.fileDialogs.back().title, QStringLiteral("Сохранение файла голосовых сообщений"));
    QCOMPARE(f.dialogs.boxes.size(), size_t(exists ? 1 : 0));
    if (exists) {
        QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("Файл уже существует, заменить?"));
        QCOMPARE(f.dialogs.boxes[0].flags, 0x34u);
    }
    // The image follows the slots whether or not the file is written.
    const auto image = w.Bank().Image();
    QCOMPARE(image[8 + 6 * 2 + 3] | image[8 + 6 * 2 + 4] << 8 | image[8 + 6 * 2 + 5] << 16, 999);
    if (written) {
        VoiceBank loaded;
        QCOMPARE(LoadVoiceFile(path, loaded.Image()), 0);
        loaded.ParseImage();
        QCOMPARE(loaded.SampleCount(2), 999u);
        QCOMPARE(w.StatusPanel(FilePanel), path);
    } else {
        QCOMPARE(ReadAll(path), QByteArray("old"));
        QCOMPARE(w.StatusPanel(FilePanel), QStringLiteral("default.vce"));
    }
}

void TstVoiceWindow::clearMemory()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    f.Import(50, Wav(800), QStringLiteral("a.wav"));
    f.Import(51, Wav(800), QStringLiteral("b.wav"));
    w.FileNew1->trigger();
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 0);
    QCOMPARE(w.Bank().UsedSamples(), 0u);
    QCOMPARE(w.Label3->text(), EmptyBankMemory);
    QVERIFY(f.dialogs.boxes.empty());

    // A failed save is told.
    f.dialogs.files.push_back(f.Path(QStringLiteral("no-such-folder/x.vce")));
    w.FileSave1->trigger();
    QCOMPARE(f.dialogs.boxes.size(), size_t(1));
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("Невозможно сохранить файл"));
    QCOMPARE(w.StatusPanel(FilePanel), QStringLiteral("default.vce"));
}

void TstVoiceWindow::aboutBox()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    QList<QUrl> opened;
    SetLinkOpener([&opened](const QUrl &url) { opened << url; });
    bool checked = false;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<TAboutBox *>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(box->Label1->text(), w.windowTitle());
        QCOMPARE(box->Label3->text(), QStringLiteral("Ver.: 1.2.20"));
        QCOMPARE(box->ProgramIcon->pixmap().toImage(), VoiceProgrammerIcon().pixmap(48, 48).toImage());
        QCOMPARE(box->Memo1->toPlainText().split(QLatin1Char('\n')), SupportedVersions());
        QVERIFY(box->Memo1->isReadOnly());
        QTest::mouseClick(box->Label5, Qt::LeftButton);
        QTest::mouseClick(box->Label4, Qt::LeftButton);
        checked = true;
    });
    w.Abaut->trigger();
    SetLinkOpener(nullptr);
    QVERIFY(checked);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), w.windowTitle());
    QCOMPARE(opened[1], MakerWebPageUrl());
}

void TstVoiceWindow::portDialogTexts()
{
    VoiceWindowFixture f;
    TForm1 &w = f.Open();
    w.Texts.PortDialogCaption = QStringLiteral("Port");
    w.Texts.PortOpenFailureText = QStringLiteral("Busy");
    bool checked = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TFormCOMPortSetup *>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Port"));
        QCOMPARE(dialog->FailureText, QStringLiteral("Busy"));
        checked = true;
    });
    w.ComPortConfig->trigger();
    QVERIFY(checked);
    // Closing the dialog tried the port and left it closed.
    QCOMPARE(w.StatusPanel(PortPanel), SimPort);
    QVERIFY(!w.ComPort1.Connected());
}

void TstVoiceWindow::languageFileApplied()
{
    VoiceWindowFixture f;
    QMap<int, QString> lines{{1, QStringLiteral("Голосовой программатор")},
                             {11, QStringLiteral("Program")},
                             {23, QStringLiteral("Used")},
                             {24, QStringLiteral("Free")},
                             {25, QStringLiteral("s")},
                             {35, QStringLiteral("Cannot open ")},
                             {77, QStringLiteral("Input 1 off")},
                             {169, QStringLiteral("Key 32")},
                             {170, QStringLiteral("not an event")},
                             {19, QString()}};
    QVERIFY(WriteFile(f.Path(VoiceLanguageFileName), LanguageFile(VoiceLanguageLineCount, lines, "\r\n")));
    TForm1 &w = f.Open();

    QCOMPARE(w.windowTitle(), QStringLiteral("QRV610/QRV240 Голосовой программатор"));
    QCOMPARE(w.N1->title(), QStringLiteral("L3"));
    QCOMPARE(w.N10->text(), QStringLiteral("Program"));
    QCOMPARE(w.N15->text(), QStringLiteral("L14"));
    QCOMPARE(w.COM1->text(), QStringLiteral("L9"));
    QCOMPARE(w.N7->text(), QStringLiteral("L7"));
    // The actions keep their own captions; the menu items show the file's.
    QCOMPARE(w.Programm->text(), QStringLiteral("Программировать"));
    QCOMPARE(w.SpeedButton6->text(), QStringLiteral("Program"));
    QCOMPARE(w.SpeedButton8->text(), QStringLiteral("L12"));
    QCOMPARE(w.SpeedButton9->text(), QStringLiteral("L13"));
    for (QToolButton *b : {w.SpeedButton6, w.SpeedButton8, w.SpeedButton9})
        QVERIFY(b->toolTip().isEmpty());
    QCOMPARE(w.SpeedButton2->toolTip(), QStringLiteral("Открыть файл голосовых сообщений"));
    QCOMPARE(w.GroupBox1->title(), QStringLiteral(" L16 "));
    QCOMPARE(w.GroupBox2->title(), QStringLiteral(" L21 "));
    QCOMPARE(w.Label11->text(), QStringLiteral("L17"));
    QCOMPARE(w.BitBtn1->text(), QString());
    QCOMPARE(w.BitBtn1->toolTip(), QStringLiteral("L27"));
    QCOMPARE(w.BitBtn2->toolTip(), QStringLiteral("L28"));
    QCOMPARE(w.Label3->text(), QStringLiteral("Used: 0 s    Free: 261.8 s"));
    QCOMPARE(w.EditFragmentTime->text(), QStringLiteral("0 s"));
    QCOMPARE(w.Texts.PortDialogCaption, QStringLiteral("L30"));
    QCOMPARE(w.Texts.PortOpenFailureText, QStringLiteral("L31"));
    QCOMPARE(w.Texts.AboutCaption, QStringLiteral("L33"));
    QCOMPARE(w.StatusMessages.at(0), QStringLiteral("Cannot open "));
    QCOMPARE(w.StatusMessages.at(19), QStringLiteral("L54"));
    QCOMPARE(w.ComboBoxEvents->itemText(0), QStringLiteral("L56"));
    QCOMPARE(w.ComboBoxEvents->itemText(12), QStringLiteral("L68"));
    QCOMPARE(w.ComboBoxEvents->itemText(13), QStringLiteral("Input 1 off"));
    QCOMPARE(w.ComboBoxEvents->itemText(20), QStringLiteral("L84"));
    QCOMPARE(w.ComboBoxEvents->itemText(21), QStringLiteral("L93"));
    QCOMPARE(w.ComboBoxEvents->itemText(97), QStringLiteral("Key 32"));
    QCOMPARE(w.ComboBoxEvents->count(), VoiceEventCount);
    QCOMPARE(w.ComboBoxEvents->currentIndex(), 0);

    // The about box repeats the new caption under the new title.
    bool checked = false;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<TAboutBox *>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("L33"));
        QCOMPARE(box->Label1->text(), QStringLiteral("QRV610/QRV240 Голосовой программатор"));
        checked = true;
    });
    w.AbautExecute();
    QVERIFY(checked);

    // The workers speak the file's texts.
    w.ComPort1.SetPort(DeadPort);
    w.ProgrammExecute();
    QCOMPARE(w.ActionName->text(), QStringLiteral("Cannot open COM8"));
}

void TstVoiceWindow::languageFileIgnored_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("174 lines") << LanguageFile(174);
    QTest::newRow("176 lines") << LanguageFile(176);
    QTest::newRow("marker without !")
        << LanguageFile(175, {}, "\n", QStringLiteral("// VORAZE Language file - do not change this line"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("CR line ends") << LanguageFile(175, {}, "\r");
}

namespace {

void CheckBuiltInTexts(const TForm1 &w)
{
    QCOMPARE(w.windowTitle(), QStringLiteral("Программатор голосовых сообщений QRV610"));
    QCOMPARE(w.SpeedButton6->text(), QStringLiteral("Программировать"));
    QCOMPARE(w.SpeedButton6->toolTip(), QStringLiteral("Загрузить звуковые сообщения в контроллер"));
    QCOMPARE(w.ComboBoxEvents->itemText(13), QStringLiteral("1-й вход неактивен"));
    QCOMPARE(w.Label3->text(), EmptyBankMemory);
    QCOMPARE(w.StatusMessages.at(0), QStringLiteral("Невозможно открыть "));
    QCOMPARE(w.Texts.AboutCaption, QStringLiteral("О программе"));
}

} // namespace

void TstVoiceWindow::languageFileIgnored()
{
    QFETCH(QByteArray, file);
    VoiceWindowFixture f;
    QVERIFY(WriteFile(f.Path(VoiceLanguageFileName), file));
    TForm1 &w = f.Open();
    CheckBuiltInTexts(w);
}

void TstVoiceWindow::languageFileThatIsNoRegularFileIsIgnored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("larger than a language file can be") << "large";
}

void TstVoiceWindow::languageFileThatIsNoRegularFileIsIgnored()
{
    QFETCH(QString, kind);
    VoiceWindowFixture f;
    const QString path = f.Path(VoiceLanguageFileName);
    if (kind == "zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == "fifo")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0666) == 0);
    else // acceptable but for its size
        QVERIFY(WriteFile(path, LanguageFile(175, {{174, QString(language::MaxFileSize, QLatin1Char('x'))}})));
    CheckBuiltInTexts(f.Open());
}

void TstVoiceWindow::everyNamedLanguageTargetExists()
{
    VoiceWindowFixture f;
    const QStringList faults = VoiceLanguageTargetFaults(f.Open());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstVoiceWindow)
#include "tst_voicewindow.moc"
