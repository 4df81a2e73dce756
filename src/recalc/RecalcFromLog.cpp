#include "recalc/RecalcFromLog.h"

#include "scoring/TextRules.h"

std::string LogStatement(const TPluginData& currentData)
{
    // The table name goes in as the host gave it; the host owns its schema.
    return "Select * from " + ReadSlot(currentData.TableName) + " order by CallSign";
}

namespace {

void ReadRowInto(TPluginData& currentData, TLogQuery& query)
{
    WriteSlot(currentData.QSOReportRecived, query.FieldAsText("QSOReportRecived"));
    WriteSlot(currentData.DXCCPrefix, query.FieldAsText("DXCCPrefix"));
    WriteSlot(currentData.MainPrefix, query.FieldAsText("MainPrefix"));
    WriteSlot(currentData.CallSign, query.FieldAsText("CallSign"));
    WriteSlot(currentData.DigiBand, query.FieldAsText("DigiBand"));
    WriteSlot(currentData.QSOMode, query.FieldAsText("QSOMode"));
    WriteSlot(currentData.Continent, UpperAsciiLetters(query.FieldAsText("Continent")));
    WriteSlot(currentData.ITUZone, query.FieldAsText("ITUZone"));
}

}  // namespace

void RecalcFromLog(TPluginData& currentData, TContestScorer& state, TLogQuery& query, const TRecalcHooks& hooks)
{
    const std::string savedBand = ReadSlot(currentData.DigiBand);

    state.Clear();
    if (hooks.ClearReport)
        hooks.ClearReport();

    query.Close();
    query.SetStatement(LogStatement(currentData));
    query.Open();
    if (hooks.PassMessages)
        hooks.PassMessages();

    while (!query.PastLastRow()) {
        ReadRowInto(currentData, query);
        const std::int32_t result = state.ScoreQSO(ContactOf(currentData), true);
        if (hooks.RowScored)
            hooks.RowScored(result);
        query.Next();
    }
    query.Close();
    WriteSlot(currentData.DigiBand, savedBand);
}
