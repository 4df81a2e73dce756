// The rows a case puts into its log table (hostkit's database and the ADO
// objects over it hold them).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "hostado/LogDatabase.h"
#include "hostkit/HostDatabase.h"

namespace host {

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

void AddRow(hostado::TLogTable& table, const TLogRow& row);
void AddRows(hostado::TLogTable& table, std::initializer_list<TLogRow> rows);

}  // namespace host
