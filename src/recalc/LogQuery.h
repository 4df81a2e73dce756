// What the rebuild needs of the database access behind the log table. On
// Windows an ADO recordset stands behind it; tests use in-memory tables.
#pragma once

#include <stdexcept>
#include <string>

// An error of the log database, carrying the text the user is shown.
class TLogQueryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLogQuery {
public:
    virtual ~TLogQuery() = default;

    // Harmless when already closed.
    virtual void Close() = 0;
    virtual void SetStatement(const std::string& statement) = 0;
    // Runs the statement; stands on the first row, or past the end when
    // there is none.
    virtual void Open() = 0;
    virtual bool PastLastRow() = 0;
    // The value of the named column (name compared ignoring case) as text:
    // numbers in decimal, NULL as empty. A missing column throws
    // TLogQueryError "LogQuery: Field 'NAME' not found".
    virtual std::string FieldAsText(const std::string& name) = 0;
    virtual void Next() = 0;
};

// The text of the missing-column error, naming the column as requested.
inline std::string FieldNotFoundMessage(const std::string& name)
{
    return "LogQuery: Field '" + name + "' not found";
}
