// The statistics window's life, event by event, and the paths that end in
// freeing it, without a screen. Under the sanitizer build a window freed
// twice, used after it was freed, or never freed fails the run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/FormLifecycle.h"

namespace {

// A lifecycle past its creation and first showing: open and visible.
TFormLifecycle OpenLifecycle()
{
    TFormLifecycle life;
    EXPECT_TRUE(life.CreationEnds());
    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    EXPECT_TRUE(life.ShowEnds().BecomeVisible);
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
    return life;
}

// --------------------------------------------------------------- creation

TEST(FormLifecycleCreation, RequestsArrivingWhileTheWindowIsCreatedWaitForItsFirstShowing)
{
    TFormLifecycle life;
    EXPECT_EQ(TFormState::Creating, life.State());
    EXPECT_EQ(TRequestStep::Wait, life.CloseRequested());
    EXPECT_TRUE(life.CreationEnds());
    // Creation is over, but nothing runs until the showing has ended.
    EXPECT_EQ(TFormState::Creating, life.State());
    EXPECT_TRUE(life.HandlerRunning());

    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    const TShowOutcome outcome = life.ShowEnds();
    EXPECT_FALSE(outcome.BecomeVisible) << "a window with a close waiting stays hidden";
    EXPECT_EQ(TPendingWork::Close, life.HandlerEnds());
    EXPECT_EQ(TRequestStep::Now, life.CloseRequested());
    EXPECT_EQ(TFormState::Closed, life.State());
}

TEST(FormLifecycleCreation, AHandlerEndingDuringCreationCarriesOutNothing)
{
    TFormLifecycle life;
    EXPECT_EQ(TRequestStep::Wait, life.DestructionRequested());
    EXPECT_TRUE(life.EndSessionQueried());
    life.HandlerBegins();
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
}

TEST(FormLifecycleCreation, TheCloseBoxDuringCreationMinimisesOnceShown)
{
    TFormLifecycle life;
    EXPECT_EQ(TSystemCloseStep::Nothing, life.SystemCloseRequested(false));
    EXPECT_TRUE(life.CreationEnds());
    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    const TShowOutcome outcome = life.ShowEnds();
    EXPECT_TRUE(outcome.BecomeVisible);
    EXPECT_TRUE(outcome.ThenMinimise);
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
}

TEST(FormLifecycleCreation, AWindowDestroyedWhileBeingCreatedFailsItsCreationInsteadOfBeingFreed)
{
    TFormLifecycle life;
    life.DestructionBegins();
    EXPECT_EQ(TFreeStep::FreeWhenHandlerEnds, life.NativeWindowGone());
    life.HandlerBegins();  // a box in the constructor, after the window went
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds()) << "the constructor still runs";
    EXPECT_FALSE(life.CreationEnds());
}

// ---------------------------------------------------------------- showing

TEST(FormLifecycleShowing, AShowRequestDuringTheShowingLeavesItToThatShowing)
{
    TFormLifecycle life;
    EXPECT_TRUE(life.CreationEnds());
    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    EXPECT_EQ(TFormState::Showing, life.State());
    EXPECT_EQ(TShowStep::Nothing, life.ShowRequested(false)) << "no second load, no nested rebuild";
    life.HandlerBegins();  // the rebuild inside the showing
    EXPECT_EQ(TShowStep::Nothing, life.ShowRequested(false));
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
    EXPECT_TRUE(life.ShowEnds().BecomeVisible);
    EXPECT_EQ(TFormState::Open, life.State());
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
}

TEST(FormLifecycleShowing, TheLoadedStateDecidesBetweenNormalAndMaximised)
{
    TFormLifecycle life;
    EXPECT_TRUE(life.CreationEnds());
    life.ShowRequested(false);
    life.HandlerBegins();
    life.PlacementStateLoaded(true);
    const TShowOutcome maximised = life.ShowEnds();
    EXPECT_TRUE(maximised.BecomeVisible);
    EXPECT_TRUE(maximised.Maximized);
    EXPECT_FALSE(maximised.ThenMinimise);
    life.HandlerEnds();

    // Hidden by the host, shown again: the new load counts.
    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    life.PlacementStateLoaded(false);
    EXPECT_FALSE(life.ShowEnds().Maximized);
    life.HandlerEnds();
}

TEST(FormLifecycleShowing, AClosedOrDestroyedWindowIsNeverShownAgain)
{
    TFormLifecycle closed = OpenLifecycle();
    ASSERT_EQ(TRequestStep::Now, closed.CloseRequested());
    EXPECT_EQ(TShowStep::Nothing, closed.ShowRequested(false));

    TFormLifecycle destroyed = OpenLifecycle();
    destroyed.DestructionBegins();
    EXPECT_EQ(TShowStep::Nothing, destroyed.ShowRequested(false));
}

TEST(FormLifecycleShowing, AWindowDestroyedDuringItsShowingStaysHidden)
{
    TFormLifecycle life;
    EXPECT_TRUE(life.CreationEnds());
    life.ShowRequested(false);
    life.HandlerBegins();
    life.DestructionBegins();
    EXPECT_EQ(TFreeStep::FreeWhenHandlerEnds, life.NativeWindowGone());
    EXPECT_FALSE(life.ShowEnds().BecomeVisible);
    EXPECT_EQ(TPendingWork::Free, life.HandlerEnds());
}

// -------------------------------------------------------------- close box

TEST(FormLifecycleCloseBox, MinimisesAVisibleWindowAndShowsAHiddenOneFirst)
{
    TFormLifecycle life = OpenLifecycle();
    EXPECT_EQ(TShowStep::BringToFront, life.ShowRequested(true)) << "_Run on a visible window";
    EXPECT_EQ(TSystemCloseStep::Minimise, life.SystemCloseRequested(true));

    EXPECT_EQ(TSystemCloseStep::Show, life.SystemCloseRequested(false));
    EXPECT_EQ(TShowStep::ShowFully, life.ShowRequested(false));
    life.HandlerBegins();
    EXPECT_TRUE(life.ShowEnds().ThenMinimise);
    life.HandlerEnds();
}

TEST(FormLifecycleCloseBox, IsIgnoredOnceACloseWaitsOrHasHappened)
{
    TFormLifecycle life = OpenLifecycle();
    life.HandlerBegins();
    ASSERT_EQ(TRequestStep::Wait, life.CloseRequested());
    EXPECT_EQ(TSystemCloseStep::Ignore, life.SystemCloseRequested(true));
    ASSERT_EQ(TPendingWork::Close, life.HandlerEnds());
    ASSERT_EQ(TRequestStep::Now, life.CloseRequested());
    EXPECT_EQ(TSystemCloseStep::Ignore, life.SystemCloseRequested(false));
}

// ------------------------------------------------------ close and release

TEST(FormLifecycleRequests, ACloseIsCarriedOutOnceWhenTheOutermostHandlerEnds)
{
    TFormLifecycle life = OpenLifecycle();
    life.HandlerBegins();
    life.HandlerBegins();
    EXPECT_EQ(TRequestStep::Wait, life.CloseRequested());
    EXPECT_EQ(TRequestStep::Wait, life.CloseRequested());
    EXPECT_TRUE(life.CloseWaiting());
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
    EXPECT_EQ(TPendingWork::Close, life.HandlerEnds());
    EXPECT_FALSE(life.CloseWaiting());
    EXPECT_EQ(TRequestStep::Now, life.CloseRequested());
    EXPECT_EQ(TRequestStep::Ignore, life.CloseRequested()) << "a second close request";
    EXPECT_FALSE(life.EndSessionQueried());
}

TEST(FormLifecycleRequests, ADestructionUnderAHandlerIsAskedForAgainThroughTheQueue)
{
    TFormLifecycle life = OpenLifecycle();
    life.HandlerBegins();
    EXPECT_EQ(TRequestStep::Wait, life.DestructionRequested());
    EXPECT_TRUE(life.DestructionWaiting());
    EXPECT_EQ(TPendingWork::RepostDestruction, life.HandlerEnds());
    EXPECT_EQ(TRequestStep::Now, life.DestructionRequested());
}

TEST(FormLifecycleRequests, NothingThatWaitedIsCarriedOutOnceDestructionHasBegun)
{
    TFormLifecycle life = OpenLifecycle();
    life.HandlerBegins();
    life.CloseRequested();
    life.DestructionRequested();
    life.DestructionBegins();
    EXPECT_EQ(TRequestStep::Ignore, life.CloseRequested());
    EXPECT_EQ(TRequestStep::Ignore, life.DestructionRequested());
    EXPECT_FALSE(life.EndSessionQueried());
    EXPECT_EQ(TPendingWork::None, life.HandlerEnds());
}

// ----------------------------------------------------------------- freeing

class TFakeForm;

// Frees a fake window through a pointer the static analyzer cannot follow:
// it cannot know that the lifecycle frees a window only once no handler runs,
// and would see a use after every free. The sanitizers watch the real thing.
void DeleteFakeForm(TFakeForm* form);
void (*volatile FreeForm)(TFakeForm*) = &DeleteFakeForm;

// A heap-allocated window that carries out what the lifecycle says, the way
// the real one does, so that the sanitizers watch every path that frees it.
class TFakeForm {
public:
    explicit TFakeForm(std::vector<std::string>& journal) : Journal_(journal) { EXPECT_TRUE(Life_.CreationEnds()); }

    TFormLifecycle& Lifecycle() { return Life_; }
    void CarryOut(TPendingWork work) noexcept
    {
        switch (work) {
        case TPendingWork::Free:
            Journal_.push_back("freed");
            FreeForm(this);
            break;
        case TPendingWork::Close:
            Close();
            break;
        case TPendingWork::RepostDestruction:
            Journal_.push_back("destruction posted again");
            break;
        case TPendingWork::None:
            break;
        }
    }

    void Show()
    {
        if (Life_.ShowRequested(false) != TShowStep::ShowFully)
            return;
        TLifecycleHandlerScope<TFakeForm> handler(*this);
        Life_.ShowEnds();
    }
    void Close()
    {
        if (Life_.CloseRequested() != TRequestStep::Now)
            return;
        TLifecycleHandlerScope<TFakeForm> handler(*this);
        Journal_.push_back("closed");
    }
    // DestroyWindow: WM_DESTROY, then WM_NCDESTROY.
    void Destroy()
    {
        Life_.DestructionBegins();
        {
            TLifecycleHandlerScope<TFakeForm> handler(*this);
        }
        if (Life_.NativeWindowGone() == TFreeStep::FreeNow) {
            Journal_.push_back("freed");
            FreeForm(this);
        }
    }

private:
    friend void DeleteFakeForm(TFakeForm* form);
    ~TFakeForm() = default;

    std::vector<std::string>& Journal_;
    TFormLifecycle Life_;
};

void DeleteFakeForm(TFakeForm* form)
{
    delete form;
}

TEST(FormLifecycleFreeing, TheHandlerScopeFreesTheWindowOnceAndLastWhenItWentUnderAHandler)
{
    std::vector<std::string> journal;
    auto* form = new TFakeForm(journal);
    form->Show();
    {
        TLifecycleHandlerScope<TFakeForm> outer(*form);
        {
            TLifecycleHandlerScope<TFakeForm> inner(*form);
            form->Close();  // waits
            form->Destroy();
            EXPECT_TRUE(journal.empty()) << "nothing is freed under a running handler";
        }
        EXPECT_TRUE(journal.empty());
    }
    EXPECT_EQ(std::vector<std::string>{"freed"}, journal);
}

TEST(FormLifecycleFreeing, AWindowDestroyedWithNoHandlerRunningIsFreedByItsDestruction)
{
    std::vector<std::string> journal;
    auto* form = new TFakeForm(journal);
    form->Show();
    form->Close();
    form->Destroy();
    EXPECT_EQ((std::vector<std::string>{"closed", "freed"}), journal);
}

TEST(FormLifecycleFreeing, ACloseThatWaitedRunsInItsOwnHandlerAfterTheOuterOneEnds)
{
    std::vector<std::string> journal;
    auto* form = new TFakeForm(journal);
    form->Show();
    {
        TLifecycleHandlerScope<TFakeForm> rebuild(*form);
        form->Close();
        form->Lifecycle().DestructionRequested();
        EXPECT_TRUE(journal.empty());
    }
    EXPECT_EQ((std::vector<std::string>{"closed", "destruction posted again"}), journal);
    form->Destroy();
    EXPECT_EQ("freed", journal.back());
}

}  // namespace
