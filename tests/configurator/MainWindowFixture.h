#pragma once
// The main window on pages that log what the window asks of them,
// in a fresh current directory, with COM1 pointing at a device that does not
// exist (so nothing answers and nothing waits).
#include "toolkit/widgets/Dialogs.h"
#include "configurator/Main.h"
#include "configurator/pages/PageInputs.h"
#include "configurator/pages/PageLiveState.h"
#include "configurator/pages/PageOutputs.h"
#include "tests/configurator/NamedControl.h"
#include "simulator/ScopedPortTable.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <functional>
#include <memory>

// Logs what the window asks of a page: "Enter k", "Store k", "Show k",
// "AfterShow k"; values are neither stored nor shown.
template <class Base>
class Logging : public Base {
public:
    template <class... Args>
    explicit Logging(QStringList &log, Args &&...args) : Base(std::forward<Args>(args)...), log_(log)
    {
    }

    void Enter(int page) override
    {
        log_ << QStringLiteral("Enter %1").arg(page);
        Base::Enter(page);
    }
    void AfterShow(int page) override { log_ << QStringLiteral("AfterShow %1").arg(page); }
    bool HasValues(int page) const override { return page != Pages::LiveState && page != Pages::Outputs; }
    void StorePage(int page, ControllerConfig &config) override
    {
        log_ << QStringLiteral("Store %1").arg(page);
        if (onStore)
            onStore(page, config);
    }
    void ShowPage(int page, ControllerConfig &) override { log_ << QStringLiteral("Show %1").arg(page); }

    std::function<void(int page, ControllerConfig &config)> onStore;

private:
    QStringList &log_;
};

// A bare page with only its title label.
class LoggingPage : public Logging<ConfigPage> {
public:
    LoggingPage(PageContext &context, const QString &panelName, const QString &titleName, QStringList &log)
        : Logging<ConfigPage>(log, context, panelName)
    {
        new QVBoxLayout(this);
        if (!titleName.isEmpty()) {
            title_ = new QLabel(this);
            title_->setObjectName(titleName);
            layout()->addWidget(title_);
        }
    }

    QLabel *TitleLabel() const override { return title_; }

private:
    QLabel *title_ = nullptr;
};

// What the wiring labels show before a file replaces it: a 10 x 10 frame.
inline QPicture BuiltInPicture()
{
    QPicture picture;
    QPainter painter(&picture);
    painter.drawRect(0, 0, 9, 9);
    painter.end();
    picture.setBoundingRect(QRect(0, 0, 10, 10));
    return picture;
}

inline const char *const identityLabelNames[] = {"iDeviceNameLabel", "iModificationLabel", "iHardVerLabel",
                                                 "iSoftVerLabel",    "iBLLabel",           "iDateLabel",
                                                 "iLabelCountryCode", "iLabelDevSNLocked", "iGSMIMEILabel",
                                                 "iLabelDevSN"};

// Answers the window's message boxes and file dialogs, and keeps what they showed.
class ScriptedDialogs : public IDialogProvider {
public:
    struct Message {
        QString text;
        QString caption;
        unsigned flags = 0;
    };
    QList<Message> messages;
    int answer = IDYES;           // to every message box
    QString chosenFile;           // empty: the file dialog is cancelled
    QList<QString> presetNames;   // the file name each file dialog opened with
    QList<QString> dialogTitles;

    ScriptedDialogs() { SetDialogProvider(this); }
    ~ScriptedDialogs() override { SetDialogProvider(nullptr); }

    int ShowMessageBox(QWidget *, const QString &text, const QString &caption, unsigned flags) override
    {
        messages.append({text, caption, flags});
        return answer;
    }
    bool ShowFileDialog(QWidget *, TFileDialog &dialog) override
    {
        presetNames << dialog.FileName;
        dialogTitles << dialog.Title;
        if (chosenFile.isEmpty())
            return false;
        dialog.FileName = chosenFile;
        return true;
    }
};

struct MainWindowFixture {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QString previousDirectory = QDir::currentPath();
    qrvsim::ScopedPortTable ports;
    QStringList log;
    std::function<void(int, ControllerConfig &)> onStore;
    std::unique_ptr<TForm1> form;

    MainWindowFixture()
    {
        QDir::setCurrent(dir.path());
        qrvsim::setPortTableEntry(ports.path(), QStringLiteral("COM1"), dir.filePath(QStringLiteral("no-such-tty")));
    }
    ~MainWindowFixture()
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }

    QString Path(const QString &name) const { return dir.filePath(name); }

    TForm1 &Open()
    {
        form = std::make_unique<TForm1>([this](PanelId panel, PageContext &context) { return MakePage(panel, context); });
        return *form;
    }

    // The root, inputs and outputs pages are the window's own: it fills
    // their controls at start-up. The others are bare.
    ConfigPage *MakePage(PanelId panel, PageContext &context)
    {
        static constexpr struct {
            const char *panel;
            const char *title;
        } rows[PanelCount] = {
            {"Panel10", "Label30"}, {"Panel1", "Label15"}, {"Panel5", "Label74"},  {"Panel2", "Label5"},
            {"Panel3", "Label23"},  {"PanelArmIn", "Label21"}, {"Panel7", ""},   {"Panel6", "Label10"},
            {"Panel8", "Label1"},   {"Panel9", "Label6"},  {"Panel12", "Label79"}, {"Panel11", "Label86"},
            {"PanelLargerModel", ""},
        };
        const auto logged = [this](auto *page) {
            page->onStore = [this](int k, ControllerConfig &config) {
                if (onStore)
                    onStore(k, config);
            };
            return page;
        };
        switch (panel) {
        case PanelId::LiveState: return logged(new Logging<PageLiveState>(log, context));
        case PanelId::Inputs: {
            auto *page = logged(new Logging<PageInputs>(log, context));
            page->ImageQRV240Ins->setPicture(BuiltInPicture());
            return page;
        }
        case PanelId::Outputs: {
            auto *page = logged(new Logging<PageOutputs>(log, context));
            page->ImageQRV240Outs->setPicture(BuiltInPicture());
            return page;
        }
        default: {
            const auto &row = rows[int(panel)];
            return logged(new LoggingPage(context, QLatin1String(row.panel), QLatin1String(row.title), log));
        }
        }
    }
};
