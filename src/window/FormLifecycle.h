// The statistics window's life in one place: the state it is in, the requests
// that wait while one of its handlers runs, and what each event leads to.
// The window asks this class and does what the answer says; the class itself
// touches nothing, so every path, the ones that end in freeing the window
// included, can be followed without a screen.
//
// A handler is anything of the window that may let the thread's messages run
// (a rebuild's message passes, a modal error box). A close request or a
// destruction that arrives meanwhile waits, so nothing is released or freed
// under a running handler; the outermost handler carries out what waited when
// it ends. While the window is being created, creation counts as such a
// handler, and what waited is carried out once its first showing is over.
#pragma once

enum class TFormState {
    Creating,    // the constructor runs; hidden, not yet shown
    Showing,     // placement loading and the first rebuild; still hidden
    Open,        // shown (normal or minimised), or hidden by the host since
    Closed,      // closed on request: state released, awaiting destruction
    Destroying,  // the native window is being destroyed
    Gone,        // the native window is gone; the object waits to be freed
};

// What a request to show the window comes to.
enum class TShowStep {
    BringToFront,  // already visible: only to the front, no reload, no rebuild
    ShowFully,     // load the placement, rebuild, then become visible
    Nothing,       // being shown already, closed, or on its way out
};

// How a showing ends once the placement is loaded and the rebuild is done.
struct TShowOutcome {
    bool BecomeVisible = false;  // false: a close waits, or the window is on its way out
    bool Maximized = false;      // the state the loaded placement chose
    bool ThenMinimise = false;   // the close box was pressed while it was being shown
};

// What the close box (the system close command) comes to.
enum class TSystemCloseStep {
    Ignore,    // closed or on its way out: must not come back over released state
    Minimise,  // visible: minimise it
    Show,      // hidden: show it, and the showing minimises it (TShowOutcome)
    Nothing,   // being created or shown: the showing will minimise it
};

// What a close request or a destruction request comes to.
enum class TRequestStep {
    Ignore,  // nothing to do any more
    Wait,    // a handler runs: carried out when the outermost one ends
    Now,     // carry it out at once
};

// What the native window's end comes to for the object.
enum class TFreeStep {
    FreeNow,
    FreeWhenHandlerEnds,  // a handler still uses the object
};

// What the outermost handler has to carry out as it ends.
enum class TPendingWork {
    None,
    Close,               // the close request that waited
    RepostDestruction,   // the destruction that waited, asked for again through the queue
    Free,                // the native window went while the handler ran
};

class TFormLifecycle {
public:
    TFormState State() const { return State_; }
    // True while a handler of the window runs, and from the start of its
    // creation until its first showing begins.
    bool HandlerRunning() const { return HandlerDepth_ > 0 || State_ == TFormState::Creating; }
    bool CloseWaiting() const { return CloseWaiting_; }
    bool DestructionWaiting() const { return DestructionWaiting_; }

    // The constructor is done. False when the native window went away
    // meanwhile: the construction then fails, and the object goes with it.
    bool CreationEnds();
    // _Run, or the close box on a hidden window, asks to show it.
    TShowStep ShowRequested(bool visible);
    // The placement store chose the state the window shows itself in.
    void PlacementStateLoaded(bool maximized) { ShowMaximized_ = maximized; }
    // The placement is loaded and the rebuild done: how the window shows.
    TShowOutcome ShowEnds();

    // The close box, or Close in the system menu (SC_CLOSE).
    TSystemCloseStep SystemCloseRequested(bool visible);
    // A close request (WM_CLOSE); when the answer is Now the window counts
    // as closed from here on.
    TRequestStep CloseRequested();
    // The system asks whether the session may end: true when the window
    // should save its placement.
    bool EndSessionQueried() const;
    // The deferred destruction the host's loop delivers after a release.
    TRequestStep DestructionRequested();
    // WM_DESTROY: from here on, no request is carried out any more.
    void DestructionBegins();
    // WM_NCDESTROY: the native window is gone. While the window is still
    // being created the object cannot go yet: CreationEnds tells the
    // constructor, which fails.
    TFreeStep NativeWindowGone();

    // The handler scope (see TLifecycleHandlerScope).
    void HandlerBegins() { ++HandlerDepth_; }
    TPendingWork HandlerEnds();

private:
    bool OnItsWayOut() const
    {
        return State_ == TFormState::Closed || State_ == TFormState::Destroying || State_ == TFormState::Gone;
    }

    TFormState State_ = TFormState::Creating;
    int HandlerDepth_ = 1;  // the creation itself, until CreationEnds
    bool CloseWaiting_ = false;
    bool DestructionWaiting_ = false;
    bool MinimiseWhenShown_ = false;
    bool ShowMaximized_ = false;
};

// Brackets one handler of `form`. When the outermost handler ends, the form
// carries out what waited (TPendingWork); that may free the form, so nothing
// may touch it after the scope ends. Form provides Lifecycle() and
// CarryOut(TPendingWork) noexcept.
template <typename Form>
class TLifecycleHandlerScope {
public:
    explicit TLifecycleHandlerScope(Form& form) : Form_(form) { Form_.Lifecycle().HandlerBegins(); }
    ~TLifecycleHandlerScope()
    {
        const TPendingWork work = Form_.Lifecycle().HandlerEnds();
        if (work != TPendingWork::None)
            Form_.CarryOut(work);
    }
    TLifecycleHandlerScope(const TLifecycleHandlerScope&) = delete;
    TLifecycleHandlerScope& operator=(const TLifecycleHandlerScope&) = delete;

private:
    Form& Form_;
};
