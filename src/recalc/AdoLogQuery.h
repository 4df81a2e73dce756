// The log table read through ADO: a recordset opened over the connection the
// host hands over in TPluginData.Connection.
#pragma once

#include <string>
#include <unordered_map>

#include "recalc/ComSupport.h"
#include "recalc/LogQuery.h"

// The ADO interfaces, declared here so that users of this header need not
// compile the ADO headers themselves.
struct _ADORecordset;
struct ADOFields;

// The identifiers one ADO generation answers for the three interfaces the
// query uses.
struct TAdoInterfaceIds {
    IID Recordset;
    IID Fields;
    IID Field;
};

class TAdoLogQuery final : public TLogQuery {
public:
    // `connection` is the host's ADO connection (its _Connection or any other
    // interface of it); the query keeps a reference for its whole life. The
    // query initialises COM on the calling thread for its life as well, so it
    // must be created, used and destroyed on one thread: the host's
    // user-interface thread.
    explicit TAdoLogQuery(IUnknown* connection);
    ~TAdoLogQuery() override;
    TAdoLogQuery(const TAdoLogQuery&) = delete;
    TAdoLogQuery& operator=(const TAdoLogQuery&) = delete;

    void Close() override;
    void SetStatement(const std::string& statement) override;
    void Open() override;
    bool PastLastRow() override;
    std::string FieldAsText(const std::string& name) override;
    void Next() override;

private:
    _ADORecordset& OpenRecordset();
    ADOFields& Fields();
    long ColumnIndex(const std::string& name);

    // First member: COM stays up until every pointer below has been released.
    TScopedComInit ComInit_;
    TComPtr<IUnknown> Connection_;
    std::string Statement_;
    TComPtr<_ADORecordset> Recordset_;
    // Those the recordset was created through; the error information of it,
    // its fields and each field is looked up under them.
    TAdoInterfaceIds Interfaces_{};
    // Both belong to the open recordset and are dropped with it.
    TComPtr<ADOFields> Fields_;
    std::unordered_map<std::string, long> ColumnIndexes_;
};
