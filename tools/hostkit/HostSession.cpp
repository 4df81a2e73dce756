#include "hostkit/HostSession.h"

#include <stdexcept>
#include <utility>

#include "hostkit/HostWindows.h"

namespace hostkit {

THostSession::THostSession(TSessionSettings settings)
    : Table(Database.AddTable(settings.Table)), Settings_(std::move(settings))
{
    Reload();
}

THostSession::~THostSession()
{
    if (Settings_.ReleaseAtShutdown)
        Release();
    Unload();
    PumpMessages();
}

THostRecord THostSession::Record() const
{
    return THostRecord(Database.Connection(), Settings_.Table, Settings_.CaptionPrefix);
}

THostRecord THostSession::Contact(const std::string& call, const std::string& band, const std::string& mode,
                                  const std::string& exchange) const
{
    THostRecord record = Record();
    record.Call(call).Band(band).Mode(mode).Exchange(exchange);
    return record;
}

THostRecord THostSession::Contact(const TLogRow& contact) const
{
    return Contact(contact[TLogColumn::CallSign].value_or(""), contact[TLogColumn::DigiBand].value_or(""),
                   contact[TLogColumn::QSOMode].value_or(""), contact[TLogColumn::QSOReportRecived].value_or(""));
}

void THostSession::AddRow(const std::string& call, const std::string& band, const std::string& mode,
                          const std::string& exchange)
{
    AppendLogRow(Table, EnteredContact(call, band, mode, exchange));
}

void THostSession::AddRows(const std::vector<TLogRow>& rows)
{
    Table.Reserve(Table.RowCount() + rows.size());
    for (const TLogRow& row : rows)
        AppendLogRow(Table, row);
}

HWND THostSession::Run()
{
    const THostRecord record = Record();
    Window = Plugin_->Run(record.Get());
    return Window;
}

std::int32_t THostSession::Add(const std::string& call, const std::string& band, const std::string& mode,
                               const std::string& exchange) const
{
    return Plugin_->AddQSO(Contact(call, band, mode, exchange).Get());
}

std::int32_t THostSession::Preview(const std::string& call, const std::string& band, const std::string& mode,
                                   const std::string& exchange) const
{
    return Plugin_->GetScore(Contact(call, band, mode, exchange).Get());
}

std::int32_t THostSession::Preview(const TLogRow& contact) const { return Plugin_->GetScore(Contact(contact).Get()); }

std::string THostSession::Grab(const std::string& call) const
{
    THostRecord record = Record();
    record.Call(call);
    return Plugin_->GrabNumber(record.Get());
}

std::int32_t THostSession::Log(const TLogRow& contact)
{
    const std::int32_t result = Plugin_->AddQSO(Contact(contact).Get());
    AppendLogRow(Table, contact);
    return result;
}

std::string THostSession::Report() const
{
    if (!Window)
        throw std::logic_error("no window to read the report from");
    return ReportText(Window);
}

void THostSession::Recalc()
{
    if (!Window)
        throw std::logic_error("no window to press \"Recalc Statistic\" in");
    ClickRecalc(Window);
    PumpMessages();
}

void THostSession::CloseWindow()
{
    if (!Window)
        return;
    SendMessageA(Window, WM_CLOSE, 0, 0);
    Window = nullptr;
    PumpMessages();
}

void THostSession::Release()
{
    if (Plugin_ && Plugin_->Loaded())
        Plugin_->Release();
    Window = nullptr;
    PumpMessages();
}

void THostSession::Unload()
{
    if (Plugin_)
        Plugin_->Unload();
}

void THostSession::Reload()
{
    Plugin_.reset();
    Plugin_ = std::make_unique<TPlugin>(Settings_.PluginPath);
}

}  // namespace hostkit
