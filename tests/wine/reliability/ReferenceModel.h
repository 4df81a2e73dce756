// A reference model of the plug-in as the host sees it: which windows exist
// and whether each is the current one, released (still on the screen until
// its deferred destruction) or closed (hidden, awaiting destruction); whether
// it is minimised; the scoring state and the report text of the current
// window; the member list it read when it was created; and the host's
// message queue, whose posted requests are carried out whenever messages
// are passed: by the host's loop, and by the two passes of every rebuild.
//
// The model is written from the rules, not from the plug-in's code: scoring
// through the literal reference scorer, the rebuild as "every row in the
// database's order", the member lookup step by step.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"
#include "scoring/ContestScorer.h"
#include "support/ReferenceScorer.h"

namespace reliability {

// The member file split into lines: CR, LF or CR LF end a line; a NUL byte
// ends the text; a break at the very end adds no empty line.
std::vector<std::string> MemberFileLines(const std::string& bytes);
// The member number of `call`: every line visited, a later match winning;
// only the first 15 trimmed characters looked at; at most 5 characters.
std::string MemberNumberOf(const std::vector<std::string>& lines, const std::string& call);

struct TModelContact {
    std::string Call;
    std::string Band;
    std::string Mode;
    std::string Exchange;
    TContact View() const { return {Call, Band, Mode, Exchange}; }
};

enum class TWindowLife { Current, Released, Closed, Destroyed };

struct TModelWindow {
    TWindowLife Life = TWindowLife::Current;
    bool Visible = true;
    bool Minimised = false;
};

class TReferenceModel {
public:
    // --- the host's side
    // The log tables: the rows of each, in the order they were added.
    std::map<std::string, std::vector<TLogRow>> Tables;
    std::string MemberFile;

    // --- what the host calls; each returns what the plug-in must answer.
    // `table` is the TableName of the record the host passes.
    // _Run: the handle the plug-in returns is learned from the real call
    // when a window is created.
    void RunCreates(HWND handle, const std::string& table);
    bool HasCurrentWindow() const { return Current_ != nullptr; }
    HWND CurrentWindow() const { return Current_; }
    std::int32_t AddQSO(const TModelContact& contact, const std::string& table);
    std::int32_t GetScore(const TModelContact& contact, const std::string& table);
    std::string GrabNumber(const std::string& call, const std::string& table);
    void Release();

    // --- what happens to the windows
    void PressRecalc(HWND window);
    void SendClose(HWND window);
    void PostClose(HWND window);
    void SendSystemClose(HWND window);
    void Restore(HWND window);
    void TypeIntoReport(const std::string& text);
    void PassMessages() { ProcessQueue(nullptr); }

    // A message the host posted to its own window, whose handler calls an
    // entry point: it runs whenever messages are passed, inside a rebuild's
    // passes too, and then sees the scoring state as the rebuild has left it.
    // The handler below is called, with the call's number, at the moment the
    // model carries it out.
    void PostHostCall(int call) { Queue_.push_back({TQueued::HostCall, nullptr, call}); }
    std::function<void(int call)> OnHostCall;
    // How many of them ran inside a rebuild rather than in the host's loop.
    int HostCallsInRebuilds = 0;

    // --- what the host sees
    const std::map<HWND, TModelWindow>& Windows() const { return Windows_; }
    const std::string& Report() const { return Report_; }
    // The texts of the message boxes the plug-in has shown since the last call.
    std::vector<std::string> TakeBoxes();

private:
    struct TQueued {
        enum { Close, Destroy, HostCall } Kind;
        HWND Window;
        int Call = 0;
    };
    struct TBusy {
        bool CloseDeferred = false;
        bool DestroyDeferred = false;
    };

    // Carries out the posted requests in order while `busy` (if any) runs
    // a handler: requests for it wait until the handler ends.
    void ProcessQueue(HWND busy);
    void Rebuild(HWND window);
    void CloseRequest(HWND window);
    void FinishHandler(HWND window);
    bool IsLive(HWND window) const;

    std::map<HWND, TModelWindow> Windows_;
    HWND Current_ = nullptr;
    std::deque<TQueued> Queue_;
    std::map<HWND, TBusy> Deferred_;
    // The table name in the plug-in's copy of the last record.
    std::string CurrentTable_;
    TReferenceScorer Scorer_;
    std::vector<std::string> MemberList_;
    std::string Report_;
    std::vector<std::string> Boxes_;
};

}  // namespace reliability
