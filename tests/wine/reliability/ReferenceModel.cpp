#include "ReferenceModel.h"

#include <algorithm>

#include "logfiles/LogCollation.h"

namespace reliability {

std::vector<std::string> MemberFileLines(const std::string& bytes)
{
    const std::string text = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

namespace {

std::string Trimmed(const std::string& text)
{
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (end > first && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(first, end - first);
}

std::string CellText(const TLogRow& row, TLogColumn column) { return row[column].value_or(""); }

}  // namespace

std::string MemberNumberOf(const std::vector<std::string>& lines, const std::string& call)
{
    std::string result;
    for (const std::string& entry : lines) {
        if (call.empty() || entry.find(call) == std::string::npos)
            continue;
        const std::string s = Trimmed(entry).substr(0, 15);
        const std::size_t p = s.find('=');
        if (p == std::string::npos)
            continue;
        if (s.substr(0, p) == call)
            result = s.substr(p + 1, 5);
    }
    return result;
}

void TReferenceModel::RunCreates(HWND handle, const std::string& table)
{
    CurrentTable_ = table;
    MemberList_ = MemberFileLines(MemberFile);
    Windows_[handle] = TModelWindow{TWindowLife::Current, true, false};
    Current_ = handle;
    Scorer_.Clear();
    Report_.clear();
    Rebuild(handle);
}

std::int32_t TReferenceModel::AddQSO(const TModelContact& contact, const std::string& table)
{
    CurrentTable_ = table;
    if (!Current_)
        return 0;
    const std::int32_t result = Scorer_.AddQSO(contact.View());
    Report_ = Scorer_.ReportText();
    return result;
}

std::int32_t TReferenceModel::GetScore(const TModelContact& contact, const std::string& table)
{
    CurrentTable_ = table;
    return Current_ ? Scorer_.ScoreQSO(contact.View(), false) : 0;
}

std::string TReferenceModel::GrabNumber(const std::string& call, const std::string& table)
{
    CurrentTable_ = table;
    return Current_ ? MemberNumberOf(MemberList_, call) : std::string();
}

void TReferenceModel::Release()
{
    if (!Current_)
        return;
    Windows_[Current_].Life = TWindowLife::Released;
    Queue_.push_back({TQueued::Destroy, Current_});
    Current_ = nullptr;
}

bool TReferenceModel::IsLive(HWND window) const
{
    const auto found = Windows_.find(window);
    return found != Windows_.end() && found->second.Life != TWindowLife::Destroyed;
}

// A rebuild runs while its window's handler is busy: the waiting requests
// are carried out in the pass at its start, in the pass after the table has
// opened, and in the modal loop of an error box; the window's own close and
// destruction wait until the handler has ended.
void TReferenceModel::Rebuild(HWND window)
{
    Deferred_[window] = TBusy{};
    ProcessQueue(window);
    const bool current = window == Current_;
    if (current) {
        Scorer_.Clear();
        Report_.clear();
    }
    const auto table = Tables.find(CurrentTable_);
    if (table == Tables.end()) {
        Boxes_.push_back("Table '" + CurrentTable_ + "' does not exist.");
        ProcessQueue(window);
    } else {
        ProcessQueue(window);
        // The database's order, case ignored and stable; the plug-in keeps
        // its contact list in call order whatever order the rows come in, so
        // each row is added as _AddQSO adds a contact.
        if (current) {
            for (const std::size_t row : CallSignOrder(table->second)) {
                const TLogRow& cells = table->second[row];
                Scorer_.AddQSO({CellText(cells, TLogColumn::CallSign), CellText(cells, TLogColumn::DigiBand),
                                CellText(cells, TLogColumn::QSOMode), CellText(cells, TLogColumn::QSOReportRecived)});
            }
            Report_ = Scorer_.ReportText();
        }
    }
    FinishHandler(window);
}

void TReferenceModel::FinishHandler(HWND window)
{
    const TBusy deferred = Deferred_[window];
    Deferred_.erase(window);
    if (deferred.CloseDeferred)
        CloseRequest(window);
    if (deferred.DestroyDeferred)
        Queue_.push_back({TQueued::Destroy, window});
}

void TReferenceModel::CloseRequest(HWND window)
{
    if (!IsLive(window) || Windows_[window].Life == TWindowLife::Closed)
        return;
    if (window == Current_) {
        Current_ = nullptr;
        Scorer_.Clear();
        Report_.clear();
    }
    TModelWindow& closed = Windows_[window];
    closed.Life = TWindowLife::Closed;
    closed.Visible = false;
    Queue_.push_back({TQueued::Destroy, window});
}

void TReferenceModel::ProcessQueue(HWND busy)
{
    while (!Queue_.empty()) {
        const TQueued item = Queue_.front();
        Queue_.pop_front();
        if (item.Kind == TQueued::HostCall) {
            HostCallsInRebuilds += busy ? 1 : 0;
            if (OnHostCall)
                OnHostCall(item.Call);
            continue;
        }
        if (!IsLive(item.Window))
            continue;
        if (item.Window == busy) {
            if (item.Kind == TQueued::Destroy)
                Deferred_[busy].DestroyDeferred = true;
            else if (Windows_[busy].Life != TWindowLife::Closed)
                Deferred_[busy].CloseDeferred = true;
            continue;
        }
        if (item.Kind == TQueued::Close) {
            CloseRequest(item.Window);
        } else {
            TModelWindow& destroyed = Windows_[item.Window];
            destroyed.Life = TWindowLife::Destroyed;
            destroyed.Visible = false;
        }
    }
}

void TReferenceModel::PressRecalc(HWND window)
{
    // A closed window has no scoring state; its button does nothing.
    if (IsLive(window) && Windows_[window].Life != TWindowLife::Closed)
        Rebuild(window);
}

void TReferenceModel::SendClose(HWND window) { CloseRequest(window); }

void TReferenceModel::PostClose(HWND window)
{
    if (IsLive(window))
        Queue_.push_back({TQueued::Close, window});
}

void TReferenceModel::SendSystemClose(HWND window)
{
    // A closed window awaiting destruction must not come back.
    if (IsLive(window) && Windows_[window].Life != TWindowLife::Closed)
        Windows_[window].Minimised = true;
}

void TReferenceModel::Restore(HWND window)
{
    if (IsLive(window) && Windows_[window].Visible)
        Windows_[window].Minimised = false;
}

void TReferenceModel::TypeIntoReport(const std::string& text)
{
    if (Current_)
        Report_ = text;
}

std::vector<std::string> TReferenceModel::TakeBoxes()
{
    std::vector<std::string> boxes;
    boxes.swap(Boxes_);
    return boxes;
}

}  // namespace reliability
