#include "recalc/AdoLogQuery.h"

// windows.h (through AdoLogQuery.h) must come first: it sets NTDDI_VERSION,
// and without it adoint.h falls back to the declarations of ADO 2.x, whose
// interface identifiers differ from those defined below.
#include <adoint.h>

#if !defined(NTDDI_VERSION) || NTDDI_VERSION < 0x06020000
#error "adoint.h must declare the ADO 6.1 interfaces that the identifiers below name"
#endif

namespace {

// The headers declare these identifiers but no library defines them. ADO's
// identifiers differ from one another in their first field only.
constexpr GUID AdoIdentifier(unsigned long first)
{
    return {first, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
}

constexpr CLSID kRecordsetClass = AdoIdentifier(0x0535);

// The ADO of Windows 7 SP1 and later answers the 6.x identifiers and, for
// old programs, the 2.5 ones as well; the ADO of Windows 2000, XP, Vista and
// 7 before SP1 knows only the 2.5 ones. For a 32-bit caller the two
// generations lay out their methods identically (they differ only in
// integer widths on 64-bit Windows), so one set of declarations serves both.
// Each generation's error information is tagged with its own identifiers,
// which is why fields and field are asked about with the matching ones.
constexpr TAdoInterfaceIds kInterfaceGenerations[] = {
    {AdoIdentifier(0x1556), AdoIdentifier(0x1564), AdoIdentifier(0x1569)},  // ADO 6.x
    {AdoIdentifier(0x0556), AdoIdentifier(0x0564), AdoIdentifier(0x0569)},  // ADO 2.5 to 2.8
};

// The database's own description of what went wrong is what the user needs
// to see; the HRESULT only when the database gave none.
[[noreturn]] void ThrowComFailure(HRESULT hr, IUnknown* object, REFIID iid, const std::string& action)
{
    std::string text = ComErrorDescription(object, iid);
    if (text.empty())
        text = "LogQuery: " + action + " failed (HRESULT " + HResultText(hr) + ")";
    throw TLogQueryError(text);
}

void Check(HRESULT hr, IUnknown* object, REFIID iid, const char* action)
{
    if (FAILED(hr))
        ThrowComFailure(hr, object, iid, action);
}

// Column names are identifiers: compared code by code after case folding,
// without the linguistic rules that would, for one, ignore hyphens.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::string ValueAsText(const VARIANT& value, const std::string& name)
{
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_BSTR:
        return WideToSystemCodePage(BstrView(value.bstrVal));
    default:
        break;
    }
    // Numbers, dates and the rest in the user's notation, as the database's
    // own tools would show them.
    TVariant text;
    const HRESULT hr = VariantChangeType(text.Put(), const_cast<VARIANT*>(&value), 0, VT_BSTR);
    if (FAILED(hr))
        throw TLogQueryError("LogQuery: the value of column '" + name + "' cannot be read as text (variant type " +
                             std::to_string(value.vt) + ", HRESULT " + HResultText(hr) + ")");
    return WideToSystemCodePage(BstrView(text.Get().bstrVal));
}

}  // namespace

TAdoLogQuery::TAdoLogQuery(IUnknown* connection) : Connection_(TComPtr<IUnknown>::Share(connection))
{
    if (!ComInit_.Usable())
        throw TLogQueryError("LogQuery: COM cannot be initialised on this thread (HRESULT " +
                             HResultText(ComInit_.Result()) + ")");
}

TAdoLogQuery::~TAdoLogQuery()
{
    try {
        Close();
    } catch (const TLogQueryError&) {
        // Nobody is left to tell; the references are released all the same.
    }
}

void TAdoLogQuery::Close()
{
    ColumnIndexes_.clear();
    Fields_.Reset();
    if (!Recordset_)
        return;
    // Released whatever closing reports, so a second Close finds nothing to do.
    const TComPtr<_ADORecordset> recordset = std::move(Recordset_);
    LONG state = adStateClosed;
    if (SUCCEEDED(recordset->get_State(&state)) && (state & adStateOpen) == 0)
        return;
    Check(recordset->Close(), recordset.Get(), Interfaces_.Recordset, "closing the log table");
}

void TAdoLogQuery::SetStatement(const std::string& statement) { Statement_ = statement; }

void TAdoLogQuery::Open()
{
    Close();
    if (!Connection_)
        throw TLogQueryError("LogQuery: the host handed over no database connection");
    // ADO takes the connection as the dispatch interface of a Connection object.
    TComPtr<IDispatch> connection;
    HRESULT hr = Connection_->QueryInterface(IID_IDispatch, connection.PutVoid());
    if (FAILED(hr))
        throw TLogQueryError("LogQuery: the host's database connection is not an ADO connection (HRESULT " +
                             HResultText(hr) + ")");

    // The newest interface first; an older ADO refuses it with E_NOINTERFACE
    // and is asked for the one it knows. Any other refusal (no ADO at all,
    // no memory) would only repeat itself.
    TComPtr<_ADORecordset> recordset;
    const TAdoInterfaceIds* interfaces = nullptr;
    for (const TAdoInterfaceIds& generation : kInterfaceGenerations) {
        hr = CoCreateInstance(kRecordsetClass, nullptr, CLSCTX_INPROC_SERVER, generation.Recordset,
                              recordset.PutVoid());
        if (SUCCEEDED(hr) && recordset) {
            interfaces = &generation;
            break;
        }
        if (hr != E_NOINTERFACE)
            break;
    }
    if (!interfaces)
        throw TLogQueryError("LogQuery: no ADO recordset can be created (HRESULT " + HResultText(hr) + ")");
    Interfaces_ = *interfaces;

    Check(recordset->put_CursorLocation(adUseClient), recordset.Get(), Interfaces_.Recordset,
          "preparing the log table query");
    const TVariant source = TVariant::Text(SystemCodePageToWide(Statement_));
    const TVariant activeConnection = TVariant::Dispatch(connection.Get());
    Check(recordset->Open(source.Get(), activeConnection.Get(), adOpenKeyset, adLockOptimistic, adCmdText),
          recordset.Get(), Interfaces_.Recordset, "opening the log table");
    Recordset_ = std::move(recordset);
}

bool TAdoLogQuery::PastLastRow()
{
    _ADORecordset& recordset = OpenRecordset();
    VARIANT_BOOL atEnd = VARIANT_FALSE;
    Check(recordset.get_EOF(&atEnd), &recordset, Interfaces_.Recordset, "testing for the end of the log table");
    return atEnd != VARIANT_FALSE;
}

void TAdoLogQuery::Next()
{
    _ADORecordset& recordset = OpenRecordset();
    Check(recordset.MoveNext(), &recordset, Interfaces_.Recordset, "moving to the next row of the log table");
}

std::string TAdoLogQuery::FieldAsText(const std::string& name)
{
    const long index = ColumnIndex(name);
    ADOFields& fields = Fields();
    TComPtr<ADOField> field;
    HRESULT hr = fields.get_Item(TVariant::Integer(index).Get(), field.Put());
    if (FAILED(hr))
        ThrowComFailure(hr, &fields, Interfaces_.Fields, "finding column '" + name + "'");
    TVariant value;
    hr = field->get_Value(value.Put());
    if (FAILED(hr))
        ThrowComFailure(hr, field.Get(), Interfaces_.Field, "reading column '" + name + "'");
    return ValueAsText(value.Get(), name);
}

_ADORecordset& TAdoLogQuery::OpenRecordset()
{
    if (!Recordset_)
        throw TLogQueryError("LogQuery: the log table is not open");
    return *Recordset_.Get();
}

ADOFields& TAdoLogQuery::Fields()
{
    if (!Fields_) {
        _ADORecordset& recordset = OpenRecordset();
        Check(recordset.get_Fields(Fields_.Put()), &recordset, Interfaces_.Recordset,
              "reading the columns of the log table");
    }
    return *Fields_.Get();
}

// Resolved once per open recordset: a rebuild reads eight columns of every
// row, and scanning the names each time would cost a COM round per column
// per row.
long TAdoLogQuery::ColumnIndex(const std::string& name)
{
    if (const auto known = ColumnIndexes_.find(name); known != ColumnIndexes_.end())
        return known->second;

    ADOFields& fields = Fields();
    long count = 0;
    Check(fields.get_Count(&count), &fields, Interfaces_.Fields, "counting the columns of the log table");
    const std::wstring wanted = SystemCodePageToWide(name);
    for (long index = 0; index < count; ++index) {
        TComPtr<ADOField> field;
        Check(fields.get_Item(TVariant::Integer(index).Get(), field.Put()), &fields, Interfaces_.Fields,
              "reading the columns of the log table");
        TBstr columnName;
        Check(field->get_Name(columnName.Put()), field.Get(), Interfaces_.Field, "reading the columns of the log table");
        // The first column of that name wins, as the result may repeat one.
        if (SameNameIgnoringCase(columnName.View(), wanted)) {
            ColumnIndexes_.emplace(name, index);
            return index;
        }
    }
    throw TLogQueryError(FieldNotFoundMessage(name));
}
