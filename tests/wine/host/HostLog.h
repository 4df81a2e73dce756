// The host's log database and the ADO objects over it: what a host keeps
// alive while the plug-in's window exists.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostado/HostAdo.h"
#include "hostado/LogDatabase.h"

namespace host {

// The eight columns the plug-in reads, in the host's usual order.
std::vector<std::string> StandardColumns();
// The standard columns without the named ones.
std::vector<std::string> ColumnsWithout(std::initializer_list<const char*> missing);

// One logged contact. Columns other than call, band, mode and exchange get
// plausible values; columns the plug-in does not know stay NULL, except
// "Id", which numbers the rows.
struct TLogRow {
    std::string Call;
    std::string Band;
    std::string Mode;
    hostado::TCell Exchange = std::string();
};

class THostLog {
public:
    // COM on this thread (single-threaded apartment, as a host's user
    // interface thread has), the database, the recordset class and one
    // connection.
    THostLog();
    ~THostLog();
    THostLog(const THostLog&) = delete;
    THostLog& operator=(const THostLog&) = delete;

    hostado::TLogDatabase& Database() { return *Database_; }
    hostado::TLogTable& AddTable(const std::string& name, const std::vector<std::string>& columns = StandardColumns());
    // The raw pointer a host puts into TPluginData.Connection.
    std::uint32_t Connection() const;

private:
    HRESULT ComResult_;
    std::shared_ptr<hostado::TLogDatabase> Database_;
    std::unique_ptr<hostado::TRecordsetClassRegistration> Registration_;
    IDispatch* Connection_ = nullptr;
};

void AddRow(hostado::TLogTable& table, const TLogRow& row);
void AddRows(hostado::TLogTable& table, std::initializer_list<TLogRow> rows);

}  // namespace host
