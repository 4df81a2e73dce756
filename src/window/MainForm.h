// The statistics window: shows the report, rebuilds the scoring state from
// the host's log, turns its close box into a minimise and remembers its
// placement. It owns the whole scoring state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "members/MemberList.h"
#include "plugin/EntryPoints.h"
#include "plugin/PluginRecords.h"
#include "recalc/LogQuery.h"
#include "scoring/ContestScorer.h"
#include "window/FormLifecycle.h"
#include "window/FormStorage.h"
#include "window/Win32Handles.h"

class TWin32PlacementRegistry;
class TWin32PlacementWindow;

class TfmMainForm final : public TScoringWindow {
public:
    // Copies the host record into CurrentData, creates the native window
    // (hidden) and the scoring state, and reads the member file. Throws when
    // the native window was destroyed by a message that the member file's
    // error box let through.
    explicit TfmMainForm(const TPluginData& hostRecord);
    TfmMainForm(const TfmMainForm&) = delete;
    TfmMainForm& operator=(const TfmMainForm&) = delete;

    HWND Handle() const { return Handle_; }

    // A hidden window loads its placement, rebuilds and becomes visible; a
    // visible one only comes to the front (a minimised one stays so); one
    // that is being shown already is left to that showing.
    void Show();

    // The window whose constructor is running, if any: a _Run re-entered from
    // a message its creation lets through finds it there, not in fmMainForm.
    static TfmMainForm* FormBeingCreated();

    // Asks for destruction once the messages already queued have been handled.
    void Release();

    // The scoring operations the entry points use, on CurrentData.
    std::int32_t ScoreQSO(bool add) override;
    void SortQSOList() override;
    void ShowStatistic() override;
    std::string FindMemberNumber() const override;

    // Library unload: destroys every window of ours still alive.
    static void DestroyAllWindows();
    static void UnregisterWindowClasses();

private:
    friend class TLifecycleHandlerScope<TfmMainForm>;
    using THandlerScope = TLifecycleHandlerScope<TfmMainForm>;

    ~TfmMainForm();

    TFormLifecycle& Lifecycle() { return Lifecycle_; }
    // What waited for the outermost handler; may free the window.
    void CarryOut(TPendingWork work) noexcept;

    struct TScoringState {
        explicit TScoringState(CaseFolder foldCase) : Scorer(foldCase) {}
        TContestScorer Scorer;  // QSOList, StatList, MemberKeys and Matcher
        TMemberList MemberList;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void LayoutControls();
    void DrawButton(const DRAWITEMSTRUCT& item) const;
    void LoadMemberFile();

    // Events.
    void FormShow();
    void FormCloseQuery();
    void FormClose();
    void FormSysCommand(WPARAM command);
    void FormDestroy();
    void NativeWindowGone();
    void CloseRequest();
    void EndSessionQuery();
    void DestructionRequest();

    // The action "Recalc Statistic".
    void ExecuteRecalcStatistic();
    void RecalcStatisticExecute();
    void RecalcFromLog();
    void SetRecalcStatisticEnabled(bool enabled);

    void ReportError(const std::string& message) const;

    HWND Handle_ = nullptr;
    std::unique_ptr<TLogQuery> LogQuery;
    std::unique_ptr<TWin32PlacementRegistry> PlacementRegistry_;
    std::unique_ptr<TWin32PlacementWindow> PlacementWindow_;
    std::unique_ptr<TFormStorage> FormStorage1;
    HWND Panel1 = nullptr;
    HWND BitBtn1 = nullptr;
    bool RecalcStatisticEnabled = true;
    HWND myStatisticM = nullptr;
    std::unique_ptr<TScoringState> State_;

    TScopedFont ButtonFont_;
    TScopedFont MemoFont_;
    TFormLifecycle Lifecycle_;
};
