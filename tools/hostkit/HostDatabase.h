// The host's log database and the ADO objects over it, as a host keeps them
// while the plug-in's window exists: COM on the host's user-interface thread,
// the recordset class the plug-in creates, and one connection whose raw
// pointer travels in TPluginData.Connection.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostado/HostAdo.h"
#include "hostado/LogDatabase.h"
#include "logfiles/LogRow.h"

namespace hostkit {

// The eight columns the plug-in reads, in the order a host's table has them.
std::vector<std::string> StandardColumns();

class THostDatabase {
public:
    // COM in a single-threaded apartment, as a host's user-interface thread
    // has it; throws std::runtime_error when COM or the class registration
    // refuses. The object must live and die on that thread.
    THostDatabase();
    ~THostDatabase();
    THostDatabase(const THostDatabase&) = delete;
    THostDatabase& operator=(const THostDatabase&) = delete;

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

// One contact of a log file into the table: each of the table's columns that
// names a log column gets that cell (NULL stays NULL); others are NULL.
void AppendLogRow(hostado::TLogTable& table, const TLogRow& row);

// A row as a logger writes it when a contact is logged by hand: the four
// texts the operator entered; the other columns stay NULL.
TLogRow EnteredContact(const std::string& call, const std::string& band, const std::string& mode,
                       const std::string& exchange);

}  // namespace hostkit
