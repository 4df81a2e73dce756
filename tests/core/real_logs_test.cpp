// Recorded contest logs, read by the product's Cabrillo reader, replayed
// through the scorer and through the reference scorer that follows the
// written algorithm literally: every contact must get
// the same answer, and the report must come out the same to the byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "logfiles/CabrilloReader.h"
#include "logfiles/LogFile.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"
#include "support/ReferenceScorer.h"
#include "support/SyntheticLog.h"
#include "support/TableLogQuery.h"

namespace {

struct TRecordedLog {
    const char* File;
    std::size_t Contacts;  // as the folder's description counts them
};

const TRecordedLog kRecordedLogs[] = {{"W1OP.log", 2002}, {"I44W.log", 4826}, {"K3AJ.log", 1322}};

std::string RecordedLogPath(const char* file) { return std::string(VELMORA_RECORDED_LOGS_DIR) + "/" + file; }

std::vector<TLoggedContact> ContactsOfRows(const std::vector<TLogRow>& rows)
{
    std::vector<TLoggedContact> contacts;
    for (const TLogRow& row : rows)
        contacts.push_back({row[TLogColumn::CallSign].value_or(""), row[TLogColumn::DigiBand].value_or(""),
                            row[TLogColumn::QSOMode].value_or(""), row[TLogColumn::QSOReportRecived].value_or("")});
    return contacts;
}

// The log's contacts; a log that cannot be read, or reads with warnings, is
// a failure (the recorded logs are clean Cabrillo).
std::vector<TLoggedContact> ReadCabrilloFile(const std::string& path)
{
    const TLogReadResult log = LoadLogFile(path);
    EXPECT_TRUE(log.Ok()) << path << ": " << (log.Error ? log.Error->Message() : "");
    EXPECT_EQ(log.Format, TLogFormat::Cabrillo) << path;
    for (const TLogWarning& warning : log.Warnings)
        ADD_FAILURE() << warning.Message();
    return ContactsOfRows(log.Rows);
}

using TQSOKey = std::tuple<std::string, std::string, std::string>;

template <typename List>
std::vector<TQSOKey> SortedEntries(const List& list)
{
    std::vector<TQSOKey> entries;
    for (const TQSO& qso : list)
        entries.emplace_back(qso.Call, qso.Band, qso.Mode);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<std::tuple<std::string, int, int, int>> Tallies(const std::vector<TStatistic>& statList)
{
    std::vector<std::tuple<std::string, int, int, int>> tallies;
    for (const TStatistic& tally : statList)
        tallies.emplace_back(tally.Band, tally.QSOs, tally.Points, tally.Members);
    return tallies;
}

// Previews and adds every contact through both scorers, as the host's entry
// points would, and compares each answer and the whole state at the end.
struct TReplay {
    std::string Report;
    std::size_t Duplicates = 0;
};

// Returns the reference's report and how many duplicates it found.
TReplay ReplayAndCompare(const std::vector<TLoggedContact>& log, const std::string& name)
{
    TContestScorer scorer;
    TReferenceScorer reference;
    TReplay replay;
    int mismatches = 0;
    for (std::size_t at = 0; at < log.size() && mismatches < 5; ++at) {
        const TContact contact = ContactView(log[at]);
        const std::int32_t expectedPreview = reference.ScoreQSO(contact, false);
        const std::int32_t preview = scorer.ScoreQSO(contact, false);
        const std::int32_t expectedAdd = reference.AddQSO(contact);
        const std::int32_t added = scorer.ScoreQSO(contact, true);
        if (added > 0)
            scorer.SortQSOList();
        replay.Duplicates += expectedAdd < 0 ? 1 : 0;
        if (preview != expectedPreview || added != expectedAdd) {
            ++mismatches;
            ADD_FAILURE() << name << " contact " << at << " " << log[at].CallSign << " " << log[at].DigiBand << " "
                          << log[at].QSOMode << " '" << log[at].QSOReportRecived << "': preview " << preview
                          << " expected " << expectedPreview << ", add " << added << " expected " << expectedAdd;
        }
    }
    EXPECT_EQ(SortedEntries(scorer.QSOList()), SortedEntries(reference.QSOList())) << name << ": counted contacts";
    EXPECT_EQ(Tallies(scorer.StatList()), Tallies(reference.StatList())) << name << ": tallies";
    EXPECT_EQ(scorer.MemberKeys(), reference.MemberKeys()) << name << ": member keys";
    replay.Report = reference.ReportText();
    EXPECT_EQ(StatisticReportText(scorer.StatList()), replay.Report) << name << ": report text";
    return replay;
}

}  // namespace

TEST(CabrilloReader, QSOLines)
{
    const std::string log("START-OF-LOG: 3.0\n"
                           "QSO:   14043 CW 2025-08-02 1800 K3AJ            TOM        MD  AC0E            JIM        KS  1\n"
                           "QSO:    7257 PH 2025-06-28 2212 W1OP          4A     GA  K1GDI         1D   ME      \n"
                           "QSO:      50 DI 2025-06-28 2238 W1OP          4A     GA  KA1GG         4F   MA\n"
                           "QSO:  1830 CW 2023-07-08 1200 I44W 599 28 EU6O 599 29\n"
                           "END-OF-LOG:\n");
    const std::vector<TLoggedContact> contacts = ContactsOfRows(ReadCabrillo(log).Rows);
    ASSERT_EQ(contacts.size(), 4u) << "one contact per QSO line";
    EXPECT_EQ(std::tie(contacts[0].CallSign, contacts[0].DigiBand, contacts[0].QSOMode, contacts[0].QSOReportRecived),
              std::make_tuple("AC0E", "20", "CW", "JIM KS"))
        << "the transmitter id is not part of the exchange";
    EXPECT_EQ(std::tie(contacts[1].CallSign, contacts[1].DigiBand, contacts[1].QSOReportRecived),
              std::make_tuple("K1GDI", "40", "1D ME"));
    EXPECT_EQ(contacts[2].DigiBand, "6") << "the VHF designator 50 is the 6 m band";
    EXPECT_EQ(std::tie(contacts[3].CallSign, contacts[3].DigiBand, contacts[3].QSOReportRecived),
              std::make_tuple("EU6O", "160", "599 29"));
    EXPECT_EQ(ContactsOfRows(ReadCabrillo("QSO: 14350 CW 2023-07-08 1200 I44W 599 28 EU6O 599 29\n").Rows)[0].DigiBand,
              "20")
        << "upper band edge";
    EXPECT_EQ(ContactsOfRows(ReadCabrillo("QSO: 14351 CW 2023-07-08 1200 I44W 599 28 EU6O 599 29\n").Rows)[0].DigiBand,
              "14351")
        << "outside every band the text stays";
}

TEST(RealLogs, ScorerAgreesWithTheWrittenAlgorithm)
{
    for (const TRecordedLog& recorded : kRecordedLogs) {
        const std::vector<TLoggedContact> log = ReadCabrilloFile(RecordedLogPath(recorded.File));
        EXPECT_EQ(log.size(), recorded.Contacts) << recorded.File << ": contacts read";
        ReplayAndCompare(log, recorded.File);
    }
}

TEST(RealLogs, ScorerAgreesOnLogsWithMemberExchanges)
{
    std::uint32_t startValue = 1;
    std::size_t duplicates = 0;
    for (const TRecordedLog& recorded : kRecordedLogs) {
        const std::vector<TLoggedContact> log =
            WithMemberExchanges(ReadCabrilloFile(RecordedLogPath(recorded.File)), startValue++);
        const TReplay replay = ReplayAndCompare(log, std::string("members in ") + recorded.File);
        EXPECT_EQ(replay.Report.find("*0="), std::string::npos)
            << recorded.File << ": members counted\n" << replay.Report;
        duplicates += replay.Duplicates;
    }
    EXPECT_GT(duplicates, 0u) << "the recorded logs exercised the duplicate check";

    const TReplay generated = ReplayAndCompare(SyntheticLog(2000), "generated log");
    EXPECT_TRUE(generated.Duplicates > 60 && generated.Duplicates < 140)
        << "about 5% duplicates in the generated log: " << generated.Duplicates;
}

TEST(RealLogs, RebuildAgreesWithTheWrittenAlgorithm)
{
    // Rows in ordinal call order, as the query asks of the database; the
    // reference adds them without sorting, as the written rebuild does.
    for (const TRecordedLog& recorded : kRecordedLogs) {
        std::vector<TLoggedContact> rows = WithMemberExchanges(ReadCabrilloFile(RecordedLogPath(recorded.File)));
        std::stable_sort(rows.begin(), rows.end(), [](const TLoggedContact& a, const TLoggedContact& b) {
            return ReferenceOrdinalCompare(a.CallSign, b.CallSign) < 0;
        });
        TTableLogQuery query = TTableLogQuery::OfContacts(rows);
        TPluginData currentData{};
        WriteSlot(currentData.TableName, "Log");
        TContestScorer state;
        RecalcFromLog(currentData, state, query, {});

        TReferenceScorer reference;
        for (const TLoggedContact& row : rows)
            reference.ScoreQSO(ContactView(row), true);
        EXPECT_EQ(StatisticReportText(state.StatList()), reference.ReportText()) << recorded.File << ": rebuilt report";
    }
}
