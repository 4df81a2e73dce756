#include "contest-sim/CompareTruth.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "contest-sim/Joined.h"
#include "contest-sim/SimTruth.h"

namespace {

struct TVerdictColumns {
    std::size_t Log, Line, Verdict, Detail;
};

bool VerdictColumns(const TCsvTable& table, const char* role, TVerdictColumns& columns, std::string& error)
{
    const auto log = table.Column("log");
    const auto line = table.Column("line");
    const auto verdict = table.Column("verdict");
    const auto detail = table.Column("detail");
    if (!log || !line || !verdict || !detail) {
        error = std::string(role) + ": needs the columns log, line, verdict and detail";
        return false;
    }
    columns = {*log, *line, *verdict, *detail};
    return true;
}

// A field the writer made inert for spreadsheets ("'=..." or "'-...") reads
// back as written.
std::string Plain(const std::string& field)
{
    if (field.size() > 1 && field[0] == '\'' &&
        (field[1] == '=' || field[1] == '+' || field[1] == '-' || field[1] == '@'))
        return field.substr(1);
    return field;
}

std::size_t AgreementOf(std::vector<TVerdictAgreement>& agreements, std::map<std::string, std::size_t>& index,
                        const std::string& verdict)
{
    const auto [place, added] = index.try_emplace(verdict, agreements.size());
    if (added)
        agreements.push_back({verdict, 0, 0, 0});
    return place->second;
}

}  // namespace

bool CompareWithTruth(const TCsvTable& truthVerdicts, const TCsvTable& truthResults, const TCsvTable& checkVerdicts,
                      const TCsvTable& checkResults, TTruthComparison& comparison, std::string& error)
{
    comparison = TTruthComparison();
    TVerdictColumns truthColumns{};
    TVerdictColumns checkColumns{};
    if (!VerdictColumns(truthVerdicts, "truth verdicts.csv", truthColumns, error) ||
        !VerdictColumns(checkVerdicts, "checker verdicts.csv", checkColumns, error))
        return false;

    std::map<std::string, std::size_t> index;
    for (std::string_view name : kVerdictNames)
        AgreementOf(comparison.Verdicts, index, std::string(name));

    // (log, line) -> row of the checker's verdicts.
    std::unordered_map<std::string, std::size_t> checked;
    checked.reserve(checkVerdicts.Rows.size());
    for (std::size_t row = 0; row < checkVerdicts.Rows.size(); ++row) {
        const std::vector<std::string>& fields = checkVerdicts.Rows[row];
        checked.emplace(Plain(fields[checkColumns.Log]) + '\t' + fields[checkColumns.Line], row);
        ++comparison.Verdicts[AgreementOf(comparison.Verdicts, index, fields[checkColumns.Verdict])].FromChecker;
    }

    comparison.Lines = truthVerdicts.Rows.size();
    std::size_t found = 0;
    for (const std::vector<std::string>& fields : truthVerdicts.Rows) {
        const std::string& truth = fields[truthColumns.Verdict];
        TVerdictAgreement& agreement = comparison.Verdicts[AgreementOf(comparison.Verdicts, index, truth)];
        ++agreement.InTruth;
        const std::string where = fields[truthColumns.Log] + " line " + fields[truthColumns.Line];
        const auto answer = checked.find(fields[truthColumns.Log] + '\t' + fields[truthColumns.Line]);
        if (answer == checked.end()) {
            ++comparison.MissingLines;
            comparison.Disagreements.push_back(Joined(where, ": truth ", truth, ", checker has no verdict"));
            continue;
        }
        ++found;
        const std::vector<std::string>& checkFields = checkVerdicts.Rows[answer->second];
        const std::string& said = checkFields[checkColumns.Verdict];
        if (said == truth) {
            ++agreement.Agreed;
            for (const char* column : {"call", "band", "mode", "time", "points"}) {
                const auto inTruth = truthVerdicts.Column(column);
                const auto inCheck = checkVerdicts.Column(column);
                if (!inTruth || !inCheck || Plain(fields[*inTruth]) != Plain(checkFields[*inCheck])) {
                    ++comparison.FieldDifferences;
                    comparison.Disagreements.push_back(Joined(where, ": ", column, " in the truth ",
                                                              inTruth ? fields[*inTruth] : "(none)", ", checker ",
                                                              inCheck ? checkFields[*inCheck] : "(none)"));
                    break;
                }
            }
        } else {
            comparison.Disagreements.push_back(Joined(where, " (", fields[truthColumns.Detail], "): truth ", truth,
                                                      ", checker ", said, " (", checkFields[checkColumns.Detail], ")"));
        }
    }
    comparison.UnexpectedLines = checkVerdicts.Rows.size() - found;

    const auto truthStation = truthResults.Column("station");
    const auto truthScore = truthResults.Column("checked_score");
    const auto checkStation = checkResults.Column("station");
    const auto checkScore = checkResults.Column("checked_score");
    if (!truthStation || !truthScore || !checkStation || !checkScore) {
        error = "results.csv: both need the columns station and checked_score";
        return false;
    }
    const auto truthOffset = truthResults.Column("clock_offset_min");
    const auto checkOffset = checkResults.Column("clock_offset_min");
    std::unordered_map<std::string, std::string> checkedScores;
    std::unordered_map<std::string, std::string> checkedOffsets;
    for (const std::vector<std::string>& fields : checkResults.Rows) {
        checkedScores.emplace(Plain(fields[*checkStation]), fields[*checkScore]);
        if (checkOffset)
            checkedOffsets.emplace(Plain(fields[*checkStation]), Plain(fields[*checkOffset]));
    }
    for (const std::vector<std::string>& fields : truthResults.Rows) {
        ++comparison.LogsCompared;
        const std::string& station = fields[*truthStation];
        if (truthOffset) {
            const auto offset = checkedOffsets.find(station);
            // An empty offset is one the checker found too small to state.
            const bool listed = offset != checkedOffsets.end();
            const std::string said = !listed ? "none" : (offset->second.empty() ? "0" : offset->second);
            char* end = nullptr;
            const double difference = std::strtod(said.c_str(), &end) - std::strtod(fields[*truthOffset].c_str(), nullptr);
            if (listed && *end == '\0' && difference >= -1.0 && difference <= 1.0)
                ++comparison.ClockOffsetsClose;
            else
                comparison.ClockOffsetDifferences.push_back(
                    Joined(station, ": truth ", fields[*truthOffset], " min, checker ", said));
        }
        const auto score = checkedScores.find(station);
        if (score != checkedScores.end() && score->second == fields[*truthScore]) {
            ++comparison.ScoresEqual;
        } else {
            comparison.ScoreDifferences.push_back(station + ": truth " + fields[*truthScore] + ", checker " +
                                                  (score == checkedScores.end() ? "none" : score->second));
        }
    }
    return true;
}

bool MeetsGoals(const TTruthComparison& comparison, double least)
{
    for (const TVerdictAgreement& agreement : comparison.Verdicts)
        if (agreement.Precision() < least || agreement.Recall() < least)
            return false;
    return comparison.MissingLines == 0 && comparison.UnexpectedLines == 0 && comparison.FieldDifferences == 0 &&
           comparison.ScoreDifferences.empty();
}

void PrintComparison(const TTruthComparison& comparison, std::size_t shown, std::ostream& out)
{
    char line[160];
    (void)std::snprintf(line, sizeof line, "%-16s %9s %9s %9s %10s %8s\n", "verdict", "truth", "checker", "agreed",
                  "precision", "recall");
    out << line;
    for (const TVerdictAgreement& agreement : comparison.Verdicts) {
        (void)std::snprintf(line, sizeof line, "%-16s %9zu %9zu %9zu %10.4f %8.4f\n", agreement.Verdict.c_str(),
                      agreement.InTruth, agreement.FromChecker, agreement.Agreed, agreement.Precision(),
                      agreement.Recall());
        out << line;
    }
    out << comparison.Lines << " lines in the truth, " << comparison.MissingLines << " without a verdict from the checker, "
        << comparison.UnexpectedLines << " verdicts for lines the truth does not have, " << comparison.FieldDifferences
        << " lines whose call, band, mode, time or points differ\n";
    out << "checked scores: " << comparison.ScoresEqual << " of " << comparison.LogsCompared
        << " logs equal the truth\n";
    out << "clock offsets: " << comparison.ClockOffsetsClose << " of " << comparison.LogsCompared
        << " logs within a minute of the truth\n";
    for (std::size_t i = 0; i < comparison.ClockOffsetDifferences.size() && i < shown; ++i)
        out << "  clock offset differs: " << comparison.ClockOffsetDifferences[i] << '\n';
    for (std::size_t i = 0; i < comparison.ScoreDifferences.size() && i < shown; ++i)
        out << "  score differs: " << comparison.ScoreDifferences[i] << '\n';
    for (std::size_t i = 0; i < comparison.Disagreements.size() && i < shown; ++i)
        out << "  " << comparison.Disagreements[i] << '\n';
    if (comparison.Disagreements.size() > shown)
        out << "  ... and " << comparison.Disagreements.size() - shown << " more disagreements\n";
}
