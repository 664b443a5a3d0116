#pragma once
// What the voice programmer's window tests stand on: a temporary current
// directory, a port table with the controller simulator at COM7 and dead
// COM1..COM8 besides, dialogs answered from a script, and WAV and settings files.
#include "simulator/ControllerSimulator.h"
#include "toolkit/widgets/Dialogs.h"
#include "voiceprog/Mainform.h"
#include "simulator/ScopedPortTable.h"
#include "tests/support/Bytes.h"
#include "tests/support/Files.h"
#include "voiceprog/core/VoiceFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>
#include <optional>

namespace voicetest {

inline const QString SimPort = QStringLiteral("COM7");
inline const QString DeadPort = QStringLiteral("COM8");

struct ShownBox {
    QString text;
    QString caption;
    unsigned flags;
};

// Answers file dialogs with the paths queued (none left: cancel) and message
// boxes with the answers queued (none left: OK); keeps what was shown.
class ScriptedDialogs : public IDialogProvider {
public:
    ScriptedDialogs() { SetDialogProvider(this); }
    ~ScriptedDialogs() override { SetDialogProvider(nullptr); }

    int ShowMessageBox(QWidget *, const QString &text, const QString &caption, unsigned flags) override
    {
        boxes.push_back({text, caption, flags});
        if (answers.empty())
            return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ShowFileDialog(QWidget *, TFileDialog &dialog) override
    {
        fileDialogs.push_back({dialog.Title, dialog.Filter, dialog.DefaultExt, dialog.FileName});
        if (files.empty())
            return false;
        dialog.FileName = files.front();
        files.pop_front();
        return true;
    }

    struct FileDialogSeen {
        QString title;
        QString filter;
        QString defaultExt;
        QString presetName;
    };
    std::deque<QString> files;
    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    std::vector<FileDialogSeen> fileDialogs;
};

// A PCM WAV file of the given format holding `samples` samples of a varied signal.
inline QByteArray Wav(int samples, int seed = 0, quint16 channels = 1, quint32 rate = 8000)
{
    QByteArray pcm;
    pcm.reserve(2 * samples);
    for (int k = 0; k < samples; ++k)
        pcm += U16(quint16(((k + seed) * 7919) % 50000 - 25000));
    const QByteArray fmt = U16(1) + U16(channels) + U32(rate) + U32(rate * 2 * channels) + U16(2 * channels) + U16(16);
    const QByteArray body = "WAVE" + QByteArray("fmt ") + U32(16) + fmt + "data" + U32(quint32(pcm.size())) + pcm;
    return "RIFF" + U32(quint32(body.size())) + body;
}

// The temporary current directory, the simulator and the scripted dialogs of one test.
class VoiceWindowFixture {
public:
    VoiceWindowFixture()
    {
        previousDirectory_ = QDir::currentPath();
        QVERIFY(dir_.isValid());
        QVERIFY(QDir::setCurrent(dir_.path()));
        sim = std::make_unique<qrvsim::ControllerSimulator>(SimPort, table_.path());
        // Every port the settings file can name, so that no test reaches the machine's own ports.
        const QString nothing = dir_.filePath(QStringLiteral("no-such-device"));
        for (int n = 1; n <= 8; ++n) {
            const QString name = QStringLiteral("COM%1").arg(n);
            if (name != SimPort)
                QVERIFY(qrvsim::setPortTableEntry(table_.path(), name, nothing));
        }
        UsePort(7);
    }
    ~VoiceWindowFixture()
    {
        window.reset();
        sim.reset();
        QDir::setCurrent(previousDirectory_);
    }

    QString Path(const QString &name) const { return dir_.filePath(name); }

    // The port the next window reads from "plp.cfg".
    void UsePort(int number)
    {
        const QString settings = Path(QLatin1String(VoiceSettingsFileName));
        QVERIFY(SaveVoiceSettings(settings, QStringLiteral("COM%1").arg(number)) == 0);
    }

    TForm1 &Open()
    {
        window = std::make_unique<TForm1>();
        return *window;
    }

    // Imports a recording into an event through the window's "Открыть".
    void Import(int event, const QByteArray &wav, const QString &name)
    {
        const QString path = Path(name);
        QVERIFY(WriteFile(path, wav));
        window->ComboBoxEvents->setCurrentIndex(event);
        dialogs.files.push_back(path);
        window->BitBtn1Click();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<qrvsim::ControllerSimulator> sim;
    std::unique_ptr<TForm1> window;

private:
    QString previousDirectory_;
    QTemporaryDir dir_;
    qrvsim::ScopedPortTable table_;
};

inline QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace voicetest
