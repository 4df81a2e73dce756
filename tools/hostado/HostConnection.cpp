// The host's ADO connection: nothing but a handle on the log database that
// the host's recordsets recognise.
#include <array>
#include <utility>

#include "hostado/AdoObject.h"
#include "hostado/HostAdo.h"

namespace hostado {

namespace {

// Answered only by the host's own connection, so a recordset can tell it
// from any other object passed as ActiveConnection.
constexpr IID kHostConnectionIdentity = {
    0x816e72b0, 0x7fa1, 0x4f18, {0x85, 0x03, 0x72, 0x2a, 0x8c, 0xb5, 0xc3, 0x96}};

constexpr std::array<IID, 5> kConnectionInterfaces = {AdoGuid(0x1550), AdoGuid(0x0550), AdoGuid(0x1515),
                                                      AdoGuid(0x0515), kHostConnectionIdentity};

class THostConnection final : public TAdoObject<_ADOConnection> {
public:
    explicit THostConnection(std::shared_ptr<TLogDatabase> database) : Database_(std::move(database)) {}

    const std::shared_ptr<TLogDatabase>& Database() const { return Database_; }

    HRESULT STDMETHODCALLTYPE get_State(LONG* state) override
    {
        if (!state)
            return E_POINTER;
        *state = adStateOpen;
        return S_OK;
    }

    HOSTADO_NOT_IMPLEMENTED(get_Properties, ADOProperties**)
    HOSTADO_NOT_IMPLEMENTED(get_ConnectionString, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(put_ConnectionString, BSTR)
    HOSTADO_NOT_IMPLEMENTED(get_CommandTimeout, LONG*)
    HOSTADO_NOT_IMPLEMENTED(put_CommandTimeout, LONG)
    HOSTADO_NOT_IMPLEMENTED(get_ConnectionTimeout, LONG*)
    HOSTADO_NOT_IMPLEMENTED(put_ConnectionTimeout, LONG)
    HOSTADO_NOT_IMPLEMENTED(get_Version, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(Close)
    HOSTADO_NOT_IMPLEMENTED(Execute, BSTR, VARIANT*, long, _ADORecordset**)
    HOSTADO_NOT_IMPLEMENTED(BeginTrans, long*)
    HOSTADO_NOT_IMPLEMENTED(CommitTrans)
    HOSTADO_NOT_IMPLEMENTED(RollbackTrans)
    HOSTADO_NOT_IMPLEMENTED(Open, BSTR, BSTR, BSTR, long)
    HOSTADO_NOT_IMPLEMENTED(get_Errors, ADOErrors**)
    HOSTADO_NOT_IMPLEMENTED(get_DefaultDatabase, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(put_DefaultDatabase, BSTR)
    HOSTADO_NOT_IMPLEMENTED(get_IsolationLevel, IsolationLevelEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_IsolationLevel, IsolationLevelEnum)
    HOSTADO_NOT_IMPLEMENTED(get_Attributes, long*)
    HOSTADO_NOT_IMPLEMENTED(put_Attributes, long)
    HOSTADO_NOT_IMPLEMENTED(get_CursorLocation, CursorLocationEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_CursorLocation, CursorLocationEnum)
    HOSTADO_NOT_IMPLEMENTED(get_Mode, ConnectModeEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_Mode, ConnectModeEnum)
    HOSTADO_NOT_IMPLEMENTED(get_Provider, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(put_Provider, BSTR)
    HOSTADO_NOT_IMPLEMENTED(OpenSchema, SchemaEnum, VARIANT, VARIANT, _ADORecordset**)
    HOSTADO_NOT_IMPLEMENTED(Cancel)

private:
    std::span<const IID> Interfaces() const override { return kConnectionInterfaces; }

    std::shared_ptr<TLogDatabase> Database_;
};

}  // namespace

IDispatch* CreateConnection(std::shared_ptr<TLogDatabase> database)
{
    return new THostConnection(std::move(database));
}

std::shared_ptr<TLogDatabase> DatabaseOfConnection(const VARIANT& activeConnection, TComPtr<IUnknown>& connection)
{
    IUnknown* given = nullptr;
    if (activeConnection.vt == VT_DISPATCH)
        given = activeConnection.pdispVal;
    else if (activeConnection.vt == VT_UNKNOWN)
        given = activeConnection.punkVal;
    if (!given)
        return nullptr;
    TComPtr<_ADOConnection> own;
    if (FAILED(given->QueryInterface(kHostConnectionIdentity, own.PutVoid())))
        return nullptr;
    const auto* host = static_cast<THostConnection*>(own.Get());
    connection = TComPtr<IUnknown>::Share(own.Get());
    return host->Database();
}

}  // namespace hostado
