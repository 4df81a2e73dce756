#include "velmora-host/HostSimulator.h"

#include <stdexcept>

#include "hostkit/HostWindows.h"

THostSimulator::THostSimulator(const THostSettings& settings,
                               std::function<void(const hostkit::TCaughtBox&)> onMessage)
    : Settings_(settings), Table_(Database_.AddTable(settings.Table))
{
    Boxes_.OnCaught([this, report = std::move(onMessage)](const hostkit::TCaughtBox& box) {
        ++MessageCount_;
        if (report)
            report(box);
    });
    Plugin_ = std::make_unique<hostkit::TPlugin>(settings.PluginPath);
}

THostSimulator::~THostSimulator()
{
    Release();
    Plugin_->Unload();
    hostkit::PumpMessages();
}

void THostSimulator::AddRows(const std::vector<TLogRow>& rows)
{
    Table_.Reserve(Table_.RowCount() + rows.size());
    for (const TLogRow& row : rows)
        hostkit::AppendLogRow(Table_, row);
}

hostkit::THostRecord THostSimulator::Record() const
{
    return hostkit::THostRecord(Database_.Connection(), Settings_.Table, Settings_.CaptionPrefix);
}

hostkit::THostRecord THostSimulator::ContactRecord(const TLogRow& contact) const
{
    hostkit::THostRecord record = Record();
    record.Call(contact[TLogColumn::CallSign].value_or(""))
        .Band(contact[TLogColumn::DigiBand].value_or(""))
        .Mode(contact[TLogColumn::QSOMode].value_or(""))
        .Exchange(contact[TLogColumn::QSOReportRecived].value_or(""));
    return record;
}

HWND THostSimulator::Run()
{
    const hostkit::THostRecord record = Record();
    Window_ = Plugin_->Run(record.Get());
    hostkit::PumpMessages();
    return Window_;
}

std::int32_t THostSimulator::Preview(const TLogRow& contact) const
{
    return Plugin_->GetScore(ContactRecord(contact).Get());
}

std::int32_t THostSimulator::Log(const TLogRow& contact)
{
    const std::int32_t result = Plugin_->AddQSO(ContactRecord(contact).Get());
    hostkit::AppendLogRow(Table_, contact);
    return result;
}

std::string THostSimulator::GrabNumber(const std::string& call) const
{
    hostkit::THostRecord record = Record();
    record.Call(call);
    return Plugin_->GrabNumber(record.Get());
}

void THostSimulator::Recalc()
{
    if (!Window_)
        throw std::logic_error("no window to press \"Recalc Statistic\" in");
    hostkit::ClickRecalc(Window_);
    hostkit::PumpMessages();
}

std::string THostSimulator::Report() const
{
    if (!Window_)
        throw std::logic_error("no window to read the report from");
    return hostkit::ReportText(Window_);
}

void THostSimulator::CloseWindow()
{
    if (!Window_)
        return;
    SendMessageA(Window_, WM_CLOSE, 0, 0);
    Window_ = nullptr;
    hostkit::PumpMessages();
}

void THostSimulator::Release()
{
    if (Plugin_ && Plugin_->Loaded())
        Plugin_->Release();
    Window_ = nullptr;
    hostkit::PumpMessages();
}

std::string PluginMessageLine(const hostkit::TCaughtBox& box)
{
    std::string text;
    for (char c : box.Text) {
        if (c == '\n')
            text += " / ";
        else if (c != '\r')
            text += c;
    }
    return "plug-in message: " + text;
}
