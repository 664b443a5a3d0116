#pragma once
// One first-in-first-out queue of requests that worker threads make of the GUI
// thread. Widgets may only be touched there, so workers hand their label,
// progress and grid updates over and the GUI thread carries them out in order.
#include <functional>

namespace gui {

// True on the thread that owns the application object (or when there is none).
bool IsGuiThread();

// Fire-and-forget: runs fn on the GUI thread after every request made before it.
// On the GUI thread itself fn runs at once.
void Post(std::function<void()> fn);

// As Post, for a request that only brings something (a label, a bar) to its
// latest value: when the request queued last has the same key and has not
// run yet, fn takes its place, since nothing could see what it would set.
// The order of requests stays that of Post.
void PostLatest(const void *key, std::function<void()> fn);

// Post-and-wait: runs fn on the GUI thread and returns when it has run. An
// exception out of fn is raised again here. On the GUI thread fn runs at once.
void Call(const std::function<void()>& fn);

// Carries out every request queued so far (GUI thread only).
void Drain();

// Wakes a GUI thread that waits in WaitUntil, so that it looks at its condition again.
void Wake();

// GUI thread: serves the queue and the window system's events (paint, expose,
// timers, close requests) until done() holds. User input that arrives
// meanwhile is dropped, not held back: nothing typed or clicked during a wait
// has any effect, then or later. Elsewhere: never called (threads join directly).
void WaitUntil(const std::function<bool()>& done);

// True while the GUI thread is inside WaitUntil.
bool Waiting();

// Like Post, for what must not run inside a wait (a message box would stop
// the wait, and its input would be dropped): fn made or come due during a
// wait runs once the outermost wait has ended, from the event loop.
void PostAfterWaits(std::function<void()> fn);

} // namespace gui
