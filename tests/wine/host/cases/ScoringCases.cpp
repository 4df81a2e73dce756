// Scoring through the DLL: points, duplicates and member numbers as the host
// sees them, in the results of _AddQSO and _GetScore and in the report.
#include "Checks.h"
#include "HostCase.h"
#include "HostSession.h"

namespace host {

// An empty log table gives the report with zero totals.
HOST_CASE(VcScoringEmptyReport, "_Run on an empty log table shows the empty report")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ("Band\t  QSOs\tPoints\tVClist\t\r\nTotal\t     0\t     0\t     0\t\r\n Score: 0*0=0", session.Report(),
             "report of an empty log");
}

// _AddQSO results 3/1/-1, duplicates by call, band and mode with letter case counting, members once per band.
HOST_CASE(VcScoringAddQSO, "_AddQSO points, duplicates and member counts, and the report after each")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");

    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "599 VC12"), "first contact with member VC12");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after the first contact");

    CHECK_EQ(-1, session.Add("DL1ABC", "20M", "CW", "599 VC12"), "same call, band and mode again");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after a duplicate");

    CHECK_EQ(1, session.Add("dl1abc", "20M", "CW", "599"), "the call in lower case is another call");
    CHECK_EQ(ExpectedReport({{"20M", 2, 4, 1}}), session.Report(), "report after the lower-case call");

    CHECK_EQ(1, session.Add("DL1ABC", "20M", "SSB", "599"), "same call and band in another mode");
    CHECK_EQ(3, session.Add("DL1ABC", "40M", "CW", " vc12 "), "same call and mode on another band, ' vc12 '");
    CHECK_EQ(ExpectedReport({{"20M", 3, 5, 1}, {"40M", 1, 3, 1}}), session.Report(),
             "report: member VC12 counts once on each band");

    CHECK_EQ(3, session.Add("OK1AA", "20m", "CW", "VC12"), "band '20m' beside '20M'");
    CHECK_EQ(ExpectedReport({{"20M", 3, 5, 1}, {"40M", 1, 3, 1}, {"20m", 1, 3, 0}}), session.Report(),
             "report: '20m' is a band of its own, but its member key matches '20M|VC12|' ignoring case");

    CHECK_EQ(3, session.Add("OK1AA", "20M", "CW", "599 VC1234"), "member VC1234 counts as VC123");
    CHECK_EQ(3, session.Add("OK2BB", "20M", "CW", "VC007"), "member VC007");
    CHECK_EQ(3, session.Add("OK3CC", "20M", "CW", "VC7"), "member VC7 differs from VC007");
    CHECK_EQ(3, session.Add("OK4DD", "20M", "CW", "ABVC"), "'ABVC': 3 points, no member");
    CHECK_EQ(3, session.Add("OK5EE", "20M", "CW", "VC 12"), "'VC 12': 3 points, no member");
    CHECK_EQ(-1, session.Add("OK1AA", "20M", "CW", "something else"), "a duplicate whatever its exchange");
    CHECK_EQ(ExpectedReport({{"20M", 8, 20, 4}, {"40M", 1, 3, 1}, {"20m", 1, 3, 0}}), session.Report(),
             "report after the member numbers");

    CHECK_EQ(1, session.Add("", "20M", "CW", ""), "an empty call and exchange are ordinary values");
    CHECK_EQ(-1, session.Add("", "20M", "CW", ""), "the empty call again");
    CHECK_EQ(ExpectedReport({{"20M", 9, 21, 4}, {"40M", 1, 3, 1}, {"20m", 1, 3, 0}}), session.Report(),
             "report after the empty call");
}

// Duplicates are found whatever order the calls were logged in and however many contacts share a call.
HOST_CASE(VcScoringDuplicatesAfterUnorderedAdds, "duplicate check after contacts logged out of call order")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    const char* calls[] = {"ZZ9ZZ", "AA1AA", "MM5MM", "aa1aa", "0A0A", "ZZ9Z", "A"};
    for (const char* call : calls)
        CHECK_EQ(1, session.Add(call, "20M", "CW", "599"), std::string("first contact with ") + call);
    const char* bands[] = {"10M", "15M", "40M", "80M", "160M", "6M", "2M"};
    for (const char* band : bands)
        CHECK_EQ(1, session.Add("AA1AA", band, "CW", "599"), std::string("AA1AA on ") + band);
    for (const char* call : calls)
        CHECK_EQ(-1, session.Add(call, "20M", "CW", "599"), std::string("repeat of ") + call);
    for (const char* band : bands)
        CHECK_EQ(-1, session.Preview("AA1AA", band, "CW", "599"), std::string("preview of the repeat of AA1AA on ") + band);
    CHECK_EQ(1, session.Preview("AA1AA", "20M", "SSB", "599"), "AA1AA in another mode");
}

// _GetScore answers what _AddQSO would, and changes neither the state nor the report.
HOST_CASE(VcScoringPreviewChangesNothing, "_GetScore previews without recording or rewriting the report")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "VC12"), "first contact");
    const std::string report = session.Report();

    for (int round = 0; round < 3; ++round)
        CHECK_EQ(3, session.Preview("OK1AA", "15M", "CW", "VC5"), "preview of a new contact on a new band");
    CHECK_EQ(-1, session.Preview("DL1ABC", "20M", "CW", "VC12"), "preview of a duplicate");
    CHECK_EQ(1, session.Preview("DL1ABC", "20M", "RTTY", "599"), "preview without a member prefix");
    CHECK_EQ(report, session.Report(), "report after previews");

    TypeIntoReport(session.Window, "typed by the user");
    CHECK_EQ(3, session.Preview("OK1AA", "15M", "CW", "VC5"), "preview again");
    CHECK_EQ("typed by the user", session.Report(), "_GetScore leaves the report box alone");

    CHECK_EQ(3, session.Add("OK1AA", "15M", "CW", "VC5"), "adding the previewed contact");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"15M", 1, 3, 1}}), session.Report(),
             "report: the previews created no tally and no member key");
    CHECK_EQ(-1, session.Preview("OK1AA", "15M", "CW", "VC5"), "preview of the contact just added");
}

// A duplicate through _AddQSO still rewrites the report, replacing whatever was typed into it.
HOST_CASE(VcScoringDuplicateRewritesReport, "_AddQSO of a duplicate rewrites the report")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "VC12"), "first contact");
    const std::string report = session.Report();
    TypeIntoReport(session.Window, "typed by the user");
    CHECK_EQ("typed by the user", session.Report(), "text typed into the report box");
    CHECK_EQ(-1, session.Add("DL1ABC", "20M", "CW", "VC12"), "duplicate");
    CHECK_EQ(report, session.Report(), "report after the duplicate replaces the typed text");
}

// Member keys are compared ignoring case by the user's locale, beyond a to z: bands "B\xC9" and "b\xE9" share their keys.
HOST_CASE(VcScoringMemberKeyLocaleCase, "member keys ignore the case of accented letters too")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ(3, session.Add("DL1ABC", "B\xC9", "CW", "VC1"), "member VC1 on band B\xC9");
    CHECK_EQ(3, session.Add("DL1ABC", "b\xE9", "CW", "VC1"), "member VC1 on band b\xE9");
    CHECK_EQ(ExpectedReport({{"B\xC9", 1, 3, 1}, {"b\xE9", 1, 3, 0}}), session.Report(),
             "report: two bands, the second's key already counted under the first");
}

// Band texts wider than the column are written whole; an empty band is four spaces.
HOST_CASE(VcScoringReportBandWidths, "report lines for an empty band and a band of five characters")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ(1, session.Add("DL1ABC", "", "CW", "599"), "contact with an empty band");
    CHECK_EQ(3, session.Add("DL1ABC", "2200M", "CW", "VC1"), "contact on band 2200M");
    CHECK_EQ("Band\t  QSOs\tPoints\tVClist\t\r\n    \t     1\t     1\t     0\t\r\n2200M\t     1\t     3\t     1\t\r\n"
             "Total\t     2\t     4\t     1\t\r\n Score: 4*1=4",
             session.Report(), "report with an empty and a wide band");
}

}  // namespace host
