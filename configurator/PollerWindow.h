#pragma once
// What the live-state poller needs of the main window. SelectedPage is asked
// on the poller's thread; everything else runs on the GUI thread, in the
// order the poller hands it over.
#include "configurator/core/LiveState.h"
#include "link/DeviceIdentity.h"
#include "toolkit/Colour.h"

#include <QString>

class PollerWindow {
public:
    virtual ~PollerWindow() = default;
    // The page selected in the tree, for any thread.
    virtual int SelectedPage() const = 0;
    // TMPLabel: the poller's workers report there, and panel 3 takes its caption.
    virtual void ShowPollerStatus(const QString &text, TColor colour) = 0;
    virtual QString PollerStatusText() const = 0;
    // panel: a StatusPanel.
    virtual void SetPanelText(int panel, const QString &text) = 0;
    // The identity labels and the version panel.
    virtual void ShowDeviceIdentity(const DeviceIdentity &identity) = 0;
    // After the identity and the port panel: a lost controller clears
    // ActionName, but not the red text a failed device action left there; a
    // controller found again lets that text go, and refusal, when it is not
    // served, shows in red.
    virtual void PollerIdentified(bool identified, const QString &refusal) = 0;
    // The clock page: the user is editing the controller's time; the PC's time.
    virtual bool EditingClock() const = 0;
    virtual void ShowPcTime(const QString &time) = 0;
    // The live state on the page it was read for; null: the read failed.
    virtual void ShowLiveState(int page, const LiveState *state) = 0;
    // The arm-in page: before a key read no key is marked, and a refused
    // password says that none can be read; then the key the reader gave.
    virtual void ShowKeyUnlocked(bool unlocked) = 0;
    virtual void ShowTouchKey(const TouchKeyRead &key) = 0;
};
