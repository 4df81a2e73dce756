#include "hostkit/HostDatabase.h"

#include <stdexcept>

#include "recalc/ComSupport.h"

namespace hostkit {

std::vector<std::string> StandardColumns()
{
    return {"CallSign", "DigiBand", "QSOMode", "QSOReportRecived", "DXCCPrefix", "MainPrefix", "Continent", "ITUZone"};
}

THostDatabase::THostDatabase() : ComResult_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
{
    if (FAILED(ComResult_))
        throw std::runtime_error("COM cannot be initialised on the host thread: " + HResultText(ComResult_));
    try {
        Database_ = std::make_shared<hostado::TLogDatabase>();
        Registration_ = std::make_unique<hostado::TRecordsetClassRegistration>();
        Connection_ = hostado::CreateConnection(Database_);
    } catch (...) {
        Registration_.reset();
        CoUninitialize();
        throw;
    }
}

THostDatabase::~THostDatabase()
{
    if (Connection_)
        Connection_->Release();
    Registration_.reset();
    CoUninitialize();
}

hostado::TLogTable& THostDatabase::AddTable(const std::string& name, const std::vector<std::string>& columns)
{
    return Database_->AddTable(name, columns);
}

std::uint32_t THostDatabase::Connection() const
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Connection_));
}

void AppendLogRow(hostado::TLogTable& table, const TLogRow& row)
{
    std::vector<hostado::TCell> cells;
    cells.reserve(table.Columns().size());
    for (const std::string& column : table.Columns()) {
        const std::optional<TLogColumn> logColumn = FindLogColumn(column);
        if (logColumn && row[*logColumn])
            cells.emplace_back(*row[*logColumn]);
        else
            cells.emplace_back(hostado::Null);
    }
    table.AddRow(std::move(cells));
}

TLogRow EnteredContact(const std::string& call, const std::string& band, const std::string& mode,
                       const std::string& exchange)
{
    TLogRow row;
    row[TLogColumn::CallSign] = call;
    row[TLogColumn::DigiBand] = band;
    row[TLogColumn::QSOMode] = mode;
    row[TLogColumn::QSOReportRecived] = exchange;
    return row;
}

}  // namespace hostkit
