// The ADO objects a host hands to the plug-in, backed by the in-memory log
// database: a connection to put into TPluginData.Connection, and the
// recordset class that the plug-in's CoCreateInstance(CLSID_Recordset) finds
// while it is registered.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <memory>

#include "hostado/LogDatabase.h"

namespace hostado {

// A connection to `database`: a COM object that answers IUnknown, IDispatch
// and ADO's _Connection. Returned with one reference, which the caller owns
// and releases; the pointer itself is what TPluginData.Connection carries.
IDispatch* CreateConnection(std::shared_ptr<TLogDatabase> database);

// Which interface identifiers the host's recordsets, field collections and
// fields answer: every ADO generation's, as the ADO of Windows 7 SP1 and
// later does, or only those of ADO 2.5 and earlier, as the ADO of Windows
// 2000, XP, Vista and 7 before SP1 does.
enum class TAdoInterfaces { Current, OlderOnly };

// While alive, CLSID_Recordset on this thread creates the host's recordset:
// it accepts only a connection made by CreateConnection and reads that
// connection's database. COM must be initialised on the thread, and the
// object destroyed on the same thread. Throws std::runtime_error when COM
// refuses the registration.
class TRecordsetClassRegistration {
public:
    explicit TRecordsetClassRegistration(TAdoInterfaces answered = TAdoInterfaces::Current);
    ~TRecordsetClassRegistration();
    TRecordsetClassRegistration(const TRecordsetClassRegistration&) = delete;
    TRecordsetClassRegistration& operator=(const TRecordsetClassRegistration&) = delete;

private:
    DWORD Cookie_ = 0;
};

// Connections, recordsets, field collections and fields alive right now: a
// host that has released everything it was given sees its own objects only.
std::size_t LiveObjectCount();

}  // namespace hostado
