#pragma once
// The main window with its own pages in a fresh current directory, the
// controller simulator on COM1, and Timer2 stopped: no poller runs until a
// test starts one. A handler ends by starting a poller, whose first
// identification goes out at once from its own thread: what the handler
// sent is the log as it stood when it started that poller (HandlerLog).
#include "simulator/ControllerSimulator.h"
#include "tests/configurator/MainWindowFixture.h"
#include "configurator/Mainpanelcontrol.h"
#include "toolkit/GuiQueue.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <QTimer>

#include <optional>

using qrvsim::ControllerSimulator;
using qrvsim::Fault;
using qrvsim::FrameRecord;

namespace cmd {
constexpr quint8 Identify = 0x05, WriteImage = 0x06, ReadImage = 0x07, WriteModes = 0x08, ReadModes = 0x09,
                 ReadState = 0x0C, SetClock = 0x0D, ReadTouchKey = 0x0E, Reconfigure = 0x0F, Restart = 0x10,
                 Password = 0x11, WriteSystem = 0x12, ReadSystem = 0x13, Control = 0x14;
} // namespace cmd

// Blocks of an area transfer.
constexpr int ImageBlocks = (ConfigImageSize + 255) / 256;

// What the log and the port were when a new poller was started.
struct HandOver {
    QList<FrameRecord> log;
    bool portOpen = false;
};

// The window, noting each hand-over of the port to a new poller.
class HandOverForm : public TForm1 {
public:
    explicit HandOverForm(std::function<void()> beforePoller) : beforePoller_(std::move(beforePoller)) {}
    void StartPoller() override
    {
        if (PanelThread == nullptr)
            beforePoller_();
        TForm1::StartPoller();
    }

private:
    std::function<void()> beforePoller_;
};

struct DeviceFixture {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QString previousDirectory = QDir::currentPath();
    qrvsim::ScopedPortTable ports;
    std::unique_ptr<ControllerSimulator> sim;
    std::unique_ptr<TForm1> form;
    std::optional<HandOver> handOver; // the last one

    DeviceFixture()
    {
        QDir::setCurrent(dir.path());
        sim = std::make_unique<ControllerSimulator>(QStringLiteral("COM1"), ports.path());
        form = std::make_unique<HandOverForm>([this] { handOver = HandOver{sim->log(), form->ComPort1.Connected()}; });
        form->Timer2->stop();
        sim->clearLog();
    }
    ~DeviceFixture()
    {
        form.reset();
        sim.reset();
        QDir::setCurrent(previousDirectory);
    }

    TForm1 &Form() { return *form; }
    template <class T = QLabel>
    T *Get(const char *name) const
    {
        T *control = FindControl<T>(form.get(), QLatin1String(name));
        if (control == nullptr)
            qWarning("no control %s", name);
        return control;
    }
    QString Text(const char *name) const { return Get<QLabel>(name)->text(); }
    QColor TextColour(const char *name) const
    {
        return Get<QLabel>(name)->palette().color(QPalette::WindowText);
    }

    // The window's SystemPassword and the controller's.
    void SetPasswords(const QByteArray &window, const QByteArray &controller)
    {
        View(form->ControllerConfig.ConfigImage).Set(GeneralFields::SystemPassword, QString::fromLatin1(window));
        sim->setPassword(controller);
    }

    QList<quint8> Commands() const { return sim->commands(); }
    // What a handler sent: the log as it stood when the handler handed the
    // port to the poller that runs now, or all of it while none runs.
    QList<FrameRecord> HandlerLog() const
    {
        if (form->PanelThread == nullptr)
            return sim->log();
        if (!handOver)
            qFatal("a poller runs that the fixture did not see start");
        return handOver->log;
    }
    QList<quint8> HandlerCommands() const
    {
        QList<quint8> commands;
        for (const FrameRecord &r : HandlerLog())
            if (r.kind == FrameRecord::Kind::Frame)
                commands << r.command;
        return commands;
    }
    // Whether the port was open when the running poller was started.
    bool PortOpenAtHandOver() const { return handOver && handOver->portOpen; }
    // The payload of the first frame with this command that a handler sent.
    QByteArray Payload(quint8 command) const
    {
        for (const FrameRecord &r : HandlerLog())
            if (r.kind == FrameRecord::Kind::Frame && r.command == command)
                return r.payload;
        return QByteArray();
    }

    bool ActionsEnabled() const
    {
        for (QAction *action : form->DeviceActions())
            if (!action->isEnabled())
                return false;
        return true;
    }
    bool ActionsDisabled() const
    {
        for (QAction *action : form->DeviceActions())
            if (action->isEnabled())
                return false;
        return true;
    }
};

// Runs step on the GUI thread when the simulator has answered `block` image
// read frames: the GUI thread, waiting for the worker, serves it while the
// transfer goes on.
inline void AtImageBlock(ControllerSimulator &sim, int block, const std::function<void()> &step)
{
    auto seen = std::make_shared<int>(0);
    sim.setObserver([seen, block, step](const FrameRecord &r) {
        if (r.kind == FrameRecord::Kind::Frame && r.command == cmd::ReadImage && ++*seen == block)
            gui::Post(step);
    });
}

// count copies of command.
inline QList<quint8> Repeated(quint8 command, int count)
{
    return QList<quint8>(count, command);
}

// Runs answer on the first modal dialog of class T that opens (a handler's
// workers run nested event loops before, so a single shot could come too early).
template <class T>
void AnswerModal(QObject *context, std::function<void(T &)> answer)
{
    auto *timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start();
}

inline QByteArray PasswordPayload(const QByteArray &text)
{
    QByteArray payload = text.left(8);
    payload.append(9 - payload.size(), '\0');
    return payload;
}

inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Black(0, 0, 0);
