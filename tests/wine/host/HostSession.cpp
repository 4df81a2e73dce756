#include "HostSession.h"

#include "Checks.h"

namespace host {

THostSession::THostSession() : Table(Log.AddTable(kLogTable)) { Reload(); }

THostSession::~THostSession()
{
    Unload();
    PumpMessages();
    const std::string boxes = Boxes.TakeTexts();
    CHECK(boxes.empty(), "no message box left unexamined", "boxes: " + boxes);
}

THostRecord THostSession::Record() const { return THostRecord(Log.Connection(), kLogTable); }

THostRecord THostSession::Contact(const std::string& call, const std::string& band, const std::string& mode,
                                  const std::string& exchange) const
{
    THostRecord record = Record();
    record.Call(call).Band(band).Mode(mode).Exchange(exchange);
    return record;
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

std::string THostSession::Grab(const std::string& call) const
{
    THostRecord record = Record();
    record.Call(call);
    return Plugin_->GrabNumber(record.Get());
}

void THostSession::Unload()
{
    // The recorder stays: what the plug-in writes while unloading counts.
    if (Plugin_)
        Plugin_->Unload();
}

void THostSession::Reload()
{
    Writes_.reset();
    Plugin_.reset();
    Plugin_ = std::make_unique<TPlugin>();
    Writes_ = std::make_unique<TRegistryWriteRecorder>(Plugin_->Module());
}

}  // namespace host
