// The host's ADO recordset over the in-memory log database, with its field
// collection and fields: what the plug-in calls works as ADO documents it,
// everything else answers E_NOTIMPL.
#include <array>
#include <stdexcept>
#include <utility>
#include <vector>

#include "hostado/AdoObject.h"
#include "hostado/HostAdo.h"

namespace hostado {

namespace {

constexpr std::array<IID, 8> kRecordsetInterfaces = {AdoGuid(0x1556), AdoGuid(0x0556), AdoGuid(0x1555),
                                                     AdoGuid(0x0555), AdoGuid(0x154F), AdoGuid(0x054F),
                                                     AdoGuid(0x150E), AdoGuid(0x050E)};
constexpr std::array<IID, 6> kFieldsInterfaces = {AdoGuid(0x1564), AdoGuid(0x0564), AdoGuid(0x154D),
                                                  AdoGuid(0x054D), AdoGuid(0x1506), AdoGuid(0x0506)};
constexpr std::array<IID, 4> kFieldInterfaces = {AdoGuid(0x1569), AdoGuid(0x0569), AdoGuid(0x154C),
                                                 AdoGuid(0x054C)};

// What the ADO of Windows before 7 SP1 answers: the identifiers of ADO 2.5
// and earlier, the main one first, so errors are tagged with it.
constexpr std::array<IID, 4> kOlderRecordsetInterfaces = {AdoGuid(0x0556), AdoGuid(0x0555), AdoGuid(0x054F),
                                                          AdoGuid(0x050E)};
constexpr std::array<IID, 3> kOlderFieldsInterfaces = {AdoGuid(0x0564), AdoGuid(0x054D), AdoGuid(0x0506)};
constexpr std::array<IID, 2> kOlderFieldInterfaces = {AdoGuid(0x0569), AdoGuid(0x054C)};

std::span<const IID> Pick(TAdoInterfaces answered, std::span<const IID> current, std::span<const IID> older)
{
    return answered == TAdoInterfaces::OlderOnly ? older : current;
}

// The result of one Open: the table, its rows in the statement's order and
// the row the cursor stands on. Shared by the recordset and its fields, and
// marked closed when the recordset closes, so fields kept beyond that fail
// instead of reading freed rows.
struct TCursor {
    std::shared_ptr<TLogDatabase> Database;
    const TLogTable* Table = nullptr;
    std::vector<std::size_t> Order;
    std::size_t Position = 0;
    bool Open = true;

    bool PastEnd() const { return Position >= Order.size(); }
};

const char* const kClosedText = "Operation is not allowed when the recordset is closed";
const char* const kNoCurrentRowText = "There is no current row: the recordset stands past its last row";

// Single-byte text in the system code page, as the host stored it.
TVariant CellValue(const TCell& cell)
{
    if (const auto* text = std::get_if<std::string>(&cell))
        return TVariant::Text(SystemCodePageToWide(*text));
    if (const auto* number = std::get_if<std::int32_t>(&cell))
        return TVariant::Integer(*number);
    TVariant null;
    null.Get().vt = VT_NULL;
    return null;
}

class THostField final : public TAdoObject<ADOField> {
public:
    THostField(std::shared_ptr<TCursor> cursor, std::size_t column, TAdoInterfaces answered)
        : Cursor_(std::move(cursor)), Column_(column), Answered_(answered)
    {
    }

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = TBstr(SystemCodePageToWide(Cursor_->Table->Columns()[Column_])).Detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) override
    {
        if (!value)
            return E_POINTER;
        VariantInit(value);
        TCursor& cursor = *Cursor_;
        if (!cursor.Open)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        if (cursor.PastEnd())
            return Fail(AdoError(adErrNoCurrentRecord), kNoCurrentRowText);
        if (auto fault = cursor.Database->TakeFault(TFaultPoint::ReadValue, cursor.Position))
            return Fail(E_FAIL, *fault);
        *value = CellValue(cursor.Table->Cell(cursor.Order[cursor.Position], Column_)).Detach();
        return S_OK;
    }

    HOSTADO_NOT_IMPLEMENTED(get_Properties, ADOProperties**)
    HOSTADO_NOT_IMPLEMENTED(get_ActualSize, long*)
    HOSTADO_NOT_IMPLEMENTED(get_Attributes, long*)
    HOSTADO_NOT_IMPLEMENTED(get_DefinedSize, long*)
    HOSTADO_NOT_IMPLEMENTED(get_Type, DataTypeEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_Value, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_Precision, BYTE*)
    HOSTADO_NOT_IMPLEMENTED(get_NumericScale, BYTE*)
    HOSTADO_NOT_IMPLEMENTED(AppendChunk, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(GetChunk, long, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(get_OriginalValue, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(get_UnderlyingValue, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(get_DataFormat, IUnknown**)
    HOSTADO_NOT_IMPLEMENTED(putref_DataFormat, IUnknown*)
    HOSTADO_NOT_IMPLEMENTED(put_Precision, BYTE)
    HOSTADO_NOT_IMPLEMENTED(put_NumericScale, BYTE)
    HOSTADO_NOT_IMPLEMENTED(put_Type, DataTypeEnum)
    HOSTADO_NOT_IMPLEMENTED(put_DefinedSize, long)
    HOSTADO_NOT_IMPLEMENTED(put_Attributes, long)
    HOSTADO_NOT_IMPLEMENTED(get_Status, long*)

private:
    std::span<const IID> Interfaces() const override
    {
        return Pick(Answered_, kFieldInterfaces, kOlderFieldInterfaces);
    }

    std::shared_ptr<TCursor> Cursor_;
    std::size_t Column_;
    TAdoInterfaces Answered_;
};

class THostFields final : public TAdoObject<ADOFields> {
public:
    THostFields(const std::shared_ptr<TCursor>& cursor, TAdoInterfaces answered) : Answered_(answered), Cursor_(cursor)
    {
        const std::size_t count = cursor->Table->Columns().size();
        Fields_.reserve(count);
        for (std::size_t column = 0; column < count; ++column)
            Fields_.emplace_back(new THostField(cursor, column, answered));
    }

    HRESULT STDMETHODCALLTYPE get_Count(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = static_cast<long>(Fields_.size());
        return S_OK;
    }

    // By ordinal (any integer variant) or by name, letter case ignored.
    HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, ADOField** field) override
    {
        if (!field)
            return E_POINTER;
        *field = nullptr;
        TCursor& cursor = *Cursor_;
        if (!cursor.Open)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        if (auto fault = cursor.Database->TakeFault(TFaultPoint::FieldLookup, cursor.Position))
            return Fail(E_FAIL, *fault);
        const std::optional<std::size_t> column = ColumnOf(index);
        if (!column)
            return Fail(AdoError(adErrItemNotFound), "No column matches the requested name or ordinal");
        *field = TComPtr<THostField>::Share(Fields_[*column].Get()).Detach();
        return S_OK;
    }

    HOSTADO_NOT_IMPLEMENTED(_NewEnum, IUnknown**)
    HOSTADO_NOT_IMPLEMENTED(Refresh)
    HOSTADO_NOT_IMPLEMENTED(_Append, BSTR, DataTypeEnum, long, FieldAttributeEnum)
    HOSTADO_NOT_IMPLEMENTED(Delete, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(Append, BSTR, DataTypeEnum, long, FieldAttributeEnum, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(Update)
    HOSTADO_NOT_IMPLEMENTED(Resync, ResyncEnum)
    HOSTADO_NOT_IMPLEMENTED(CancelUpdate)

private:
    std::span<const IID> Interfaces() const override
    {
        return Pick(Answered_, kFieldsInterfaces, kOlderFieldsInterfaces);
    }

    TAdoInterfaces Answered_;

    std::optional<std::size_t> ColumnOf(const VARIANT& index) const
    {
        if (index.vt == VT_BSTR)
            return Cursor_->Table->FindColumn(WideToSystemCodePage(BstrView(index.bstrVal)));
        TVariant ordinal;
        if (FAILED(VariantChangeType(ordinal.Put(), const_cast<VARIANT*>(&index), 0, VT_I4)))
            return std::nullopt;
        const LONG number = ordinal.Get().lVal;
        if (number < 0 || static_cast<std::size_t>(number) >= Fields_.size())
            return std::nullopt;
        return static_cast<std::size_t>(number);
    }

    std::shared_ptr<TCursor> Cursor_;
    std::vector<TComPtr<THostField>> Fields_;
};

class THostRecordset final : public TAdoObject<_ADORecordset> {
public:
    explicit THostRecordset(TAdoInterfaces answered) : Answered_(answered) {}
    ~THostRecordset() override
    {
        if (Cursor_)
            Cursor_->Open = false;
    }

    HRESULT STDMETHODCALLTYPE get_CursorLocation(CursorLocationEnum* location) override
    {
        if (!location)
            return E_POINTER;
        *location = CursorLocation_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_CursorLocation(CursorLocationEnum location) override
    {
        CursorLocation_ = location;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType,
                                   LockTypeEnum lockType, LONG options) override
    {
        if (Cursor_)
            return Fail(AdoError(adErrObjectOpen), "Operation is not allowed when the recordset is open");
        if (source.vt != VT_BSTR)
            return Fail(AdoError(adErrInvalidArgument), "The source of the recordset must be a statement text");
        TComPtr<IUnknown> connection;
        std::shared_ptr<TLogDatabase> database = DatabaseOfConnection(activeConnection, connection);
        if (!database)
            return Fail(AdoError(adErrInvalidConnection),
                        "The recordset must be opened over a connection of this host");

        const std::string statement = WideToSystemCodePage(BstrView(source.bstrVal));
        database->RecordOpen({statement, static_cast<long>(CursorLocation_), cursorType, lockType, options});
        if (auto fault = database->TakeFault(TFaultPoint::Open, 0))
            return Fail(E_FAIL, *fault);
        const std::optional<TSelectStatement> select = ParseSelectStatement(statement);
        if (!select)
            return Fail(kErrorsInCommand, "Syntax error in the statement '" + statement + "'");
        const TLogTable* table = database->FindTable(select->Table);
        if (!table)
            return Fail(kNoSuchTable, "Table '" + select->Table + "' does not exist");
        const std::optional<std::size_t> orderColumn = table->FindColumn(select->OrderColumn);
        if (!orderColumn)
            return Fail(kErrorsInCommand, "Column '" + select->OrderColumn + "' does not exist in table '" +
                                              select->Table + "'");

        auto cursor = std::make_shared<TCursor>();
        cursor->Database = database;
        cursor->Table = table;
        cursor->Order = database->RowOrder(*table, *orderColumn);
        Fields_ = TComPtr<THostFields>(new THostFields(cursor, Answered_));
        Cursor_ = std::move(cursor);
        Connection_ = std::move(connection);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_State(LONG* state) override
    {
        if (!state)
            return E_POINTER;
        *state = Cursor_ ? adStateOpen : adStateClosed;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL* atEnd) override
    {
        if (!atEnd)
            return E_POINTER;
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        if (auto fault = Cursor_->Database->TakeFault(TFaultPoint::EndOfTableTest, Cursor_->Position))
            return Fail(E_FAIL, *fault);
        *atEnd = Cursor_->PastEnd() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL* atStart) override
    {
        if (!atStart)
            return E_POINTER;
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        // The cursor never moves before the first row; BOF holds only for an
        // empty result.
        *atStart = Cursor_->Order.empty() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_RecordCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        *count = static_cast<long>(Cursor_->Order.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE MoveNext() override
    {
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        if (Cursor_->PastEnd())
            return Fail(AdoError(adErrNoCurrentRecord), kNoCurrentRowText);
        if (auto fault = Cursor_->Database->TakeFault(TFaultPoint::MoveNext, Cursor_->Position))
            return Fail(E_FAIL, *fault);
        ++Cursor_->Position;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE MoveFirst() override
    {
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        Cursor_->Position = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Fields(ADOFields** fields) override
    {
        if (!fields)
            return E_POINTER;
        *fields = nullptr;
        if (!Fields_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        *fields = TComPtr<THostFields>::Share(Fields_.Get()).Detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_ActiveConnection(VARIANT* connection) override
    {
        if (!connection)
            return E_POINTER;
        VariantInit(connection);
        if (Connection_) {
            connection->vt = VT_UNKNOWN;
            connection->punkVal = TComPtr<IUnknown>(Connection_).Detach();
        }
        return S_OK;
    }

    // A failed Close leaves the recordset open, as a provider that could not
    // let go of its rows would.
    HRESULT STDMETHODCALLTYPE Close() override
    {
        if (!Cursor_)
            return Fail(AdoError(adErrObjectClosed), kClosedText);
        if (auto fault = Cursor_->Database->TakeFault(TFaultPoint::Close, Cursor_->Position))
            return Fail(E_FAIL, *fault);
        Cursor_->Open = false;
        Cursor_.reset();
        Fields_.Reset();
        Connection_.Reset();
        return S_OK;
    }

    HOSTADO_NOT_IMPLEMENTED(get_Properties, ADOProperties**)
    HOSTADO_NOT_IMPLEMENTED(get_AbsolutePosition, PositionEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_AbsolutePosition, PositionEnum)
    HOSTADO_NOT_IMPLEMENTED(putref_ActiveConnection, IDispatch*)
    HOSTADO_NOT_IMPLEMENTED(put_ActiveConnection, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_Bookmark, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(put_Bookmark, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_CacheSize, long*)
    HOSTADO_NOT_IMPLEMENTED(put_CacheSize, long)
    HOSTADO_NOT_IMPLEMENTED(get_CursorType, CursorTypeEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_CursorType, CursorTypeEnum)
    HOSTADO_NOT_IMPLEMENTED(get_LockType, LockTypeEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_LockType, LockTypeEnum)
    HOSTADO_NOT_IMPLEMENTED(get_MaxRecords, long*)
    HOSTADO_NOT_IMPLEMENTED(put_MaxRecords, long)
    HOSTADO_NOT_IMPLEMENTED(putref_Source, IDispatch*)
    HOSTADO_NOT_IMPLEMENTED(put_Source, BSTR)
    HOSTADO_NOT_IMPLEMENTED(get_Source, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(AddNew, VARIANT, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(CancelUpdate)
    HOSTADO_NOT_IMPLEMENTED(Delete, AffectEnum)
    HOSTADO_NOT_IMPLEMENTED(GetRows, long, VARIANT, VARIANT, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(Move, long, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(MovePrevious)
    HOSTADO_NOT_IMPLEMENTED(MoveLast)
    HOSTADO_NOT_IMPLEMENTED(Requery, LONG)
    HOSTADO_NOT_IMPLEMENTED(_xResync, AffectEnum)
    HOSTADO_NOT_IMPLEMENTED(Update, VARIANT, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_AbsolutePage, PositionEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_AbsolutePage, PositionEnum)
    HOSTADO_NOT_IMPLEMENTED(get_EditMode, EditModeEnum*)
    HOSTADO_NOT_IMPLEMENTED(get_Filter, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(put_Filter, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_PageCount, long*)
    HOSTADO_NOT_IMPLEMENTED(get_PageSize, long*)
    HOSTADO_NOT_IMPLEMENTED(put_PageSize, long)
    HOSTADO_NOT_IMPLEMENTED(get_Sort, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(put_Sort, BSTR)
    HOSTADO_NOT_IMPLEMENTED(get_Status, long*)
    HOSTADO_NOT_IMPLEMENTED(_xClone, _ADORecordset**)
    HOSTADO_NOT_IMPLEMENTED(UpdateBatch, AffectEnum)
    HOSTADO_NOT_IMPLEMENTED(CancelBatch, AffectEnum)
    HOSTADO_NOT_IMPLEMENTED(NextRecordset, VARIANT*, _ADORecordset**)
    HOSTADO_NOT_IMPLEMENTED(Supports, CursorOptionEnum, VARIANT_BOOL*)
    HOSTADO_NOT_IMPLEMENTED(get_Collect, VARIANT, VARIANT*)
    HOSTADO_NOT_IMPLEMENTED(put_Collect, VARIANT, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(get_MarshalOptions, MarshalOptionsEnum*)
    HOSTADO_NOT_IMPLEMENTED(put_MarshalOptions, MarshalOptionsEnum)
    HOSTADO_NOT_IMPLEMENTED(Find, BSTR, long, SearchDirectionEnum, VARIANT)
    HOSTADO_NOT_IMPLEMENTED(Cancel)
    HOSTADO_NOT_IMPLEMENTED(get_DataSource, IUnknown**)
    HOSTADO_NOT_IMPLEMENTED(putref_DataSource, IUnknown*)
    HOSTADO_NOT_IMPLEMENTED(_xSave, BSTR, PersistFormatEnum)
    HOSTADO_NOT_IMPLEMENTED(get_ActiveCommand, IDispatch**)
    HOSTADO_NOT_IMPLEMENTED(put_StayInSync, VARIANT_BOOL)
    HOSTADO_NOT_IMPLEMENTED(get_StayInSync, VARIANT_BOOL*)
    HOSTADO_NOT_IMPLEMENTED(GetString, StringFormatEnum, long, BSTR, BSTR, BSTR, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(get_DataMember, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(put_DataMember, BSTR)
    HOSTADO_NOT_IMPLEMENTED(CompareBookmarks, VARIANT, VARIANT, CompareEnum*)
    HOSTADO_NOT_IMPLEMENTED(Clone, LockTypeEnum, _ADORecordset**)
    HOSTADO_NOT_IMPLEMENTED(Resync, AffectEnum, ResyncEnum)
    HOSTADO_NOT_IMPLEMENTED(Seek, VARIANT, SeekEnum)
    HOSTADO_NOT_IMPLEMENTED(put_Index, BSTR)
    HOSTADO_NOT_IMPLEMENTED(get_Index, BSTR*)
    HOSTADO_NOT_IMPLEMENTED(Save, VARIANT, PersistFormatEnum)

private:
    std::span<const IID> Interfaces() const override
    {
        return Pick(Answered_, kRecordsetInterfaces, kOlderRecordsetInterfaces);
    }

    TAdoInterfaces Answered_;

    // ADO's default until the caller asks for a client-side cursor.
    CursorLocationEnum CursorLocation_ = adUseServer;
    std::shared_ptr<TCursor> Cursor_;
    TComPtr<THostFields> Fields_;
    // An open recordset keeps its connection alive, as ADO's does.
    TComPtr<IUnknown> Connection_;
};

class TRecordsetFactory final : public IClassFactory {
public:
    explicit TRecordsetFactory(TAdoInterfaces answered) : Answered_(answered) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++References_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --References_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        const TComPtr<THostRecordset> recordset(new THostRecordset(Answered_));
        return recordset->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    TAdoInterfaces Answered_;
    ULONG References_ = 1;
};

}  // namespace

HRESULT RaiseError(HRESULT hr, const std::string& text, REFIID iid)
{
    TComPtr<ICreateErrorInfo> error;
    if (FAILED(CreateErrorInfo(error.Put())))
        return hr;
    wchar_t source[] = L"Log database";
    std::wstring description = SystemCodePageToWide(text);
    error->SetGUID(iid);
    error->SetSource(source);
    error->SetDescription(description.data());
    TComPtr<IErrorInfo> info;
    if (SUCCEEDED(error->QueryInterface(IID_IErrorInfo, info.PutVoid())))
        SetErrorInfo(0, info.Get());
    return hr;
}

std::size_t& LiveObjectCounter()
{
    static std::size_t count = 0;
    return count;
}

std::size_t LiveObjectCount() { return LiveObjectCounter(); }

TRecordsetClassRegistration::TRecordsetClassRegistration(TAdoInterfaces answered)
{
    const TComPtr<IClassFactory> factory(new TRecordsetFactory(answered));
    const HRESULT hr =
        CoRegisterClassObject(kRecordsetClass, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &Cookie_);
    if (FAILED(hr))
        throw std::runtime_error("The host's recordset class cannot be registered (HRESULT " + HResultText(hr) + ")");
}

TRecordsetClassRegistration::~TRecordsetClassRegistration() { CoRevokeClassObject(Cookie_); }

}  // namespace hostado
