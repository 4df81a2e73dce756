#include "logfiles/CabrilloReader.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "logfiles/AsciiText.h"
#include "logfiles/BandNames.h"
#include "logfiles/ReaderWarnings.h"

namespace {

// A whole number of decimal digits, optionally signed; nullopt for anything
// else, and for numbers past 64 bits.
std::optional<std::int64_t> WholeNumber(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10)
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// The next line of the text and where the one after it starts. A line ends
// at LF, CR LF or a lone CR.
struct TLineScanner {
    std::string_view Text;
    std::size_t At = 0;
    std::size_t Number = 0;

    std::optional<std::string_view> Next()
    {
        if (At >= Text.size())
            return std::nullopt;
        std::size_t end = At;
        while (end < Text.size() && Text[end] != '\n' && Text[end] != '\r')
            ++end;
        const std::string_view line = Text.substr(At, end - At);
        if (end < Text.size() && Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n')
            ++end;
        At = end + 1;
        ++Number;
        return line;
    }
};

class TCabrilloReading {
public:
    TLogReadResult Read(std::string_view text)
    {
        result_.Format = TLogFormat::Cabrillo;
        TLineScanner lines{text};
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            lines.At = 3;
        bool ended = false;
        std::size_t linesAfterEnd = 0;
        std::size_t firstLineAfterEnd = 0;
        while (const std::optional<std::string_view> line = lines.Next()) {
            const std::string_view content = TrimLogBlanks(*line);
            if (content.empty())
                continue;
            if (ended) {
                if (linesAfterEnd++ == 0)
                    firstLineAfterEnd = lines.Number;
                continue;
            }
            ended = ReadLine(content, lines.Number);
        }
        if (linesAfterEnd > 0)
            warnings_.Add("text after END-OF-LOG", firstLineAfterEnd,
                          std::to_string(linesAfterEnd) + (linesAfterEnd == 1 ? " line" : " lines") +
                              " after END-OF-LOG: ignored");
        if (!ended)
            warnings_.Add("no END-OF-LOG", 0, "no END-OF-LOG: line: the log may be cut short");
        if (xQsos_ > 0)
            warnings_.Add("X-QSO", 0,
                          std::to_string(xQsos_) + (xQsos_ == 1 ? " X-QSO line" : " X-QSO lines") +
                              " read and not scored");
        if (result_.Rows.empty())
            warnings_.Add(logwarnings::kNoContacts, 0);
        unnamed_.AppendTo(warnings_);
        result_.Warnings = warnings_.Take();
        return std::move(result_);
    }

private:
    // True at END-OF-LOG.
    bool ReadLine(std::string_view line, std::size_t number)
    {
        const std::size_t colon = line.find(':');
        const std::string tag = colon == std::string_view::npos ? std::string() : UpperAscii(TrimLogBlanks(line.substr(0, colon)));
        if (tag.empty() || tag.find_first_of(" \t") != std::string::npos) {
            warnings_.Add("not a Cabrillo line", number, "not a Cabrillo line (no TAG: at its start), ignored");
            return false;
        }
        const std::string_view value = TrimLogBlanks(line.substr(colon + 1));
        if (tag == "QSO" || tag == "X-QSO") {
            ReadContact(value, number, tag == "X-QSO");
            return false;
        }
        if (tag == "END-OF-LOG")
            return true;

        TLogHeader& header = result_.Header;
        header.Tags.emplace_back(tag, std::string(value));
        if (tag == "START-OF-LOG" && header.CabrilloVersion.empty())
            header.CabrilloVersion = std::string(value);
        else if (tag == "CALLSIGN" && header.StationCall.empty())
            header.StationCall = std::string(value);
        else if (tag == "CONTEST" && header.Contest.empty())
            header.Contest = std::string(value);
        else if (tag == "CLAIMED-SCORE" && !header.ClaimedScore) {
            header.ClaimedScore = WholeNumber(value);
            if (!header.ClaimedScore && !value.empty())
                warnings_.Add("CLAIMED-SCORE", number,
                              "CLAIMED-SCORE '" + std::string(value) + "' is not a whole number: ignored");
        }
        return false;
    }

    void ReadContact(std::string_view value, std::size_t number, bool isXQso)
    {
        constexpr std::size_t kFieldsBeforeExchange = 5;  // freq mode date time mycall
        std::vector<std::string> fields = SplitLogWords(value);
        if (fields.size() <= kFieldsBeforeExchange) {
            warnings_.Add(logwarnings::kContactWithoutCall, number);
            return;
        }
        // After mycall: n sent fields, the call, n received fields, and
        // perhaps a transmitter id; integer division leaves that id out.
        const std::size_t exchangeFields = (fields.size() - kFieldsBeforeExchange - 1) / 2;
        const std::size_t call = kFieldsBeforeExchange + exchangeFields;

        TLogContact contact;
        contact.Line = number;
        contact.IsXQso = isXQso;
        contact.Frequency = std::move(fields[0]);
        contact.Mode = std::move(fields[1]);
        contact.Date = std::move(fields[2]);
        contact.Time = std::move(fields[3]);
        contact.MyCall = std::move(fields[4]);
        contact.SentExchange.assign(std::make_move_iterator(fields.begin() + kFieldsBeforeExchange),
                                    std::make_move_iterator(fields.begin() + static_cast<std::ptrdiff_t>(call)));
        contact.Call = std::move(fields[call]);
        const auto received = fields.begin() + static_cast<std::ptrdiff_t>(call + 1);
        contact.ReceivedExchange.assign(std::make_move_iterator(received),
                                        std::make_move_iterator(received + static_cast<std::ptrdiff_t>(exchangeFields)));
        if (call + 1 + exchangeFields < fields.size())
            contact.TransmitterId = std::move(fields.back());

        TBandSources sources;
        sources.Frequency = contact.Frequency;
        sources.FrequencyBand = BandOfCabrilloFrequency(contact.Frequency);
        contact.Band = ResolveBand(sources, number, warnings_, unnamed_).value_or(std::string());

        if (isXQso) {
            ++xQsos_;
        } else {
            std::string joined;
            for (const std::string& field : contact.ReceivedExchange)
                joined += (joined.empty() ? "" : " ") + field;
            TLogRow row;
            row[TLogColumn::CallSign] = contact.Call;
            row[TLogColumn::DigiBand] = contact.Band;
            row[TLogColumn::QSOMode] = contact.Mode;
            row[TLogColumn::QSOReportRecived] = std::move(joined);
            result_.Rows.push_back(std::move(row));
        }
        result_.Contacts.push_back(std::move(contact));
    }

    TLogReadResult result_;
    TWarningList warnings_;
    TUnnamedBands unnamed_;
    std::size_t xQsos_ = 0;
};

}  // namespace

TLogReadResult ReadCabrillo(std::string_view text)
{
    return TCabrilloReading().Read(text);
}
