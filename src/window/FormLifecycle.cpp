#include "window/FormLifecycle.h"

#include <utility>

bool TFormLifecycle::CreationEnds()
{
    if (HandlerDepth_ > 0)
        --HandlerDepth_;
    return State_ != TFormState::Gone;
}

TShowStep TFormLifecycle::ShowRequested(bool visible)
{
    if (visible)
        return TShowStep::BringToFront;
    switch (State_) {
    case TFormState::Creating:
    case TFormState::Open:
        State_ = TFormState::Showing;
        return TShowStep::ShowFully;
    case TFormState::Showing:  // a _Run from a message the showing let through
    case TFormState::Closed:
    case TFormState::Destroying:
    case TFormState::Gone:
        break;
    }
    return TShowStep::Nothing;
}

TShowOutcome TFormLifecycle::ShowEnds()
{
    TShowOutcome outcome;
    const bool minimise = std::exchange(MinimiseWhenShown_, false);
    if (State_ != TFormState::Showing)
        return outcome;  // destroyed while it was being shown
    State_ = TFormState::Open;
    if (CloseWaiting_)
        return outcome;  // stays hidden: the close follows when the handler ends
    outcome.BecomeVisible = true;
    outcome.Maximized = ShowMaximized_;
    outcome.ThenMinimise = minimise;
    return outcome;
}

TSystemCloseStep TFormLifecycle::SystemCloseRequested(bool visible)
{
    switch (State_) {
    case TFormState::Creating:
    case TFormState::Showing:
        MinimiseWhenShown_ = true;
        return TSystemCloseStep::Nothing;
    case TFormState::Open:
        if (CloseWaiting_)
            return TSystemCloseStep::Ignore;
        if (visible)
            return TSystemCloseStep::Minimise;
        MinimiseWhenShown_ = true;
        return TSystemCloseStep::Show;
    case TFormState::Closed:
    case TFormState::Destroying:
    case TFormState::Gone:
        break;
    }
    return TSystemCloseStep::Ignore;
}

TRequestStep TFormLifecycle::CloseRequested()
{
    if (OnItsWayOut())
        return TRequestStep::Ignore;
    if (HandlerRunning()) {
        CloseWaiting_ = true;
        return TRequestStep::Wait;
    }
    State_ = TFormState::Closed;
    return TRequestStep::Now;
}

bool TFormLifecycle::EndSessionQueried() const
{
    // The log-off may still be called off, so only the placement is saved.
    return !OnItsWayOut();
}

TRequestStep TFormLifecycle::DestructionRequested()
{
    if (State_ == TFormState::Destroying || State_ == TFormState::Gone)
        return TRequestStep::Ignore;
    if (HandlerRunning()) {
        DestructionWaiting_ = true;
        return TRequestStep::Wait;
    }
    return TRequestStep::Now;
}

void TFormLifecycle::DestructionBegins()
{
    State_ = TFormState::Destroying;
    // Nothing that waited is carried out on a window being destroyed.
    CloseWaiting_ = false;
    DestructionWaiting_ = false;
}

TFreeStep TFormLifecycle::NativeWindowGone()
{
    const bool handlerRunning = HandlerRunning();
    State_ = TFormState::Gone;
    CloseWaiting_ = false;
    DestructionWaiting_ = false;
    return handlerRunning ? TFreeStep::FreeWhenHandlerEnds : TFreeStep::FreeNow;
}

TPendingWork TFormLifecycle::HandlerEnds()
{
    if (HandlerDepth_ > 0)
        --HandlerDepth_;
    if (HandlerRunning())
        return TPendingWork::None;
    switch (State_) {
    case TFormState::Gone:
        return TPendingWork::Free;
    case TFormState::Destroying:
        return TPendingWork::None;
    case TFormState::Creating:
    case TFormState::Showing:
    case TFormState::Open:
    case TFormState::Closed:
        break;
    }
    if (std::exchange(CloseWaiting_, false))
        return TPendingWork::Close;
    if (std::exchange(DestructionWaiting_, false))
        return TPendingWork::RepostDestruction;
    return TPendingWork::None;
}
