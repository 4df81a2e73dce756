#include "logfiles/AdifReader.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "logfiles/AsciiText.h"
#include "logfiles/BandNames.h"
#include "logfiles/ReaderWarnings.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one decimal point, at least one digit.
bool IsDecimalNumber(std::string_view text)
{
    const auto digits = std::count_if(text.begin(), text.end(), IsDigit);
    const auto points = std::count(text.begin(), text.end(), '.');
    return digits > 0 && points <= 1 && static_cast<std::size_t>(digits + points) == text.size();
}

struct TField {
    std::string Name;  // upper-cased
    std::string_view Value;
};

// The fields of the record being read, in file order.
struct TPendingRecord {
    std::vector<TField> Fields;
    std::size_t FirstTag = 0;

    const TField* Find(std::string_view name) const
    {
        const auto found = std::find_if(Fields.begin(), Fields.end(), [&](const TField& f) { return f.Name == name; });
        return found == Fields.end() ? nullptr : &*found;
    }

    TLogCell Cell(std::string_view name) const
    {
        const TField* field = Find(name);
        return field ? TLogCell(std::string(field->Value)) : std::nullopt;
    }

    // The first of the fields that holds text; else an empty one that is
    // present; else NULL.
    TLogCell FirstWithText(std::string_view preferred, std::string_view fallback) const
    {
        const TField* first = Find(preferred);
        const TField* second = Find(fallback);
        if (first && !first->Value.empty())
            return std::string(first->Value);
        if (second && !second->Value.empty())
            return std::string(second->Value);
        if (first || second)
            return std::string();
        return std::nullopt;
    }

    std::string_view Text(std::string_view name) const
    {
        const TField* field = Find(name);
        return field ? TrimLogBlanks(field->Value) : std::string_view();
    }

    // The first of the two fields that holds text, as text.
    std::string_view TextOfEither(std::string_view preferred, std::string_view fallback) const
    {
        const std::string_view first = Text(preferred);
        return first.empty() ? Text(fallback) : first;
    }
};

// "20240608" as "2024-06-08"; anything else as written.
std::string DateOfAdif(std::string_view date)
{
    if (date.size() != 8 || !std::all_of(date.begin(), date.end(), IsDigit))
        return std::string(date);
    return std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2)) + "-" + std::string(date.substr(6));
}

// "1200" or "120030" as "1200"; anything else as written.
std::string TimeOfAdif(std::string_view time)
{
    if ((time.size() != 4 && time.size() != 6) || !std::all_of(time.begin(), time.end(), IsDigit))
        return std::string(time);
    return std::string(time.substr(0, 4));
}

// Turns finished records into rows, contacts and warnings.
class TAdifRecords {
public:
    explicit TAdifRecords(std::string_view text) : lines_(text) {}

    void Add(const TPendingRecord& record, TLogReadResult& result)
    {
        ++records_;
        const std::size_t line = lines_.LineOf(record.FirstTag);
        const TField* band = record.Find("BAND");
        const TField* frequency = record.Find("FREQ");
        const std::string_view call = record.Text("CALL");
        if (call.empty()) {
            warnings_.Add(logwarnings::kContactWithoutCall, line);
            return;
        }
        givesBandOrFrequency_ = givesBandOrFrequency_ || band || frequency;

        TLogRow row;
        row[TLogColumn::CallSign] = record.Cell("CALL");
        TBandSources sources;
        if (band)
            sources.BandField = band->Value;
        if (frequency) {
            sources.Frequency = frequency->Value;
            sources.FrequencyBand = BandOfMegahertz(frequency->Value);
        }
        row[TLogColumn::DigiBand] = ResolveBand(sources, line, warnings_, unnamed_);
        row[TLogColumn::QSOMode] = record.Cell("MODE");
        row[TLogColumn::QSOReportRecived] = record.FirstWithText("SRX_STRING", "SRX");
        row[TLogColumn::Continent] = record.Cell("CONT");
        row[TLogColumn::ITUZone] = record.Cell("ITUZ");
        row[TLogColumn::MainPrefix] = record.Cell("PFX");
        row[TLogColumn::DXCCPrefix] = record.FirstWithText("DXCC", "PFX");

        TLogContact contact;
        contact.Line = records_;
        contact.Frequency = std::string(record.Text("FREQ"));
        contact.Band = row[TLogColumn::DigiBand].value_or(std::string());
        contact.Mode = std::string(record.Text("MODE"));
        contact.Date = DateOfAdif(record.Text("QSO_DATE"));
        contact.Time = TimeOfAdif(record.Text("TIME_ON"));
        contact.MyCall = std::string(record.TextOfEither("STATION_CALLSIGN", "OPERATOR"));
        contact.SentExchange = SplitLogWords(record.TextOfEither("STX_STRING", "STX"));
        contact.Call = std::string(call);
        contact.ReceivedExchange = SplitLogWords(record.TextOfEither("SRX_STRING", "SRX"));

        TLogHeader& header = result.Header;
        if (header.StationCall.empty())
            header.StationCall = contact.MyCall;
        if (header.Contest.empty())
            header.Contest = std::string(record.Text("CONTEST_ID"));
        result.Rows.push_back(std::move(row));
        result.Contacts.push_back(std::move(contact));
    }

    void Finish(TLogReadResult& result)
    {
        if (!result.Rows.empty() && !givesBandOrFrequency_)
            warnings_.Add(logwarnings::kNoBandNoFrequency, 0);
        if (result.Rows.empty())
            warnings_.Add(logwarnings::kNoContacts, 0);
        unnamed_.AppendTo(warnings_);
        result.Warnings = warnings_.Take();
    }

private:
    TLineCounter lines_;
    TWarningList warnings_;
    TUnnamedBands unnamed_;
    std::size_t records_ = 0;
    bool givesBandOrFrequency_ = false;
};

// A tag's parts: "<NAME>", "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>".
struct TTag {
    std::string Name;
    std::optional<std::string_view> Length;
};

TTag SplitTag(std::string_view inside)
{
    const std::size_t colon = inside.find(':');
    if (colon == std::string_view::npos)
        return {UpperAscii(inside), std::nullopt};
    std::string_view length = inside.substr(colon + 1);
    length = length.substr(0, length.find(':'));
    return {UpperAscii(inside.substr(0, colon)), length};
}

// The number, or nullopt when `text` is not all decimal digits. Values too
// large for the file come back as `limit` + 1, which no file can hold.
std::optional<std::size_t> ParseLength(std::string_view text, std::size_t limit)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    std::size_t value = 0;
    for (char digit : text) {
        value = value * 10 + static_cast<std::size_t>(digit - '0');
        if (value > limit)
            return limit + 1;
    }
    return value;
}

}  // namespace

std::string DigiBandOfAdifBand(std::string_view band)
{
    if (!band.empty() && (band.back() == 'm' || band.back() == 'M') && IsDecimalNumber(band.substr(0, band.size() - 1)))
        band.remove_suffix(1);
    return std::string(band);
}

TLogReadResult ReadAdif(std::string_view text)
{
    TLogReadResult result;
    result.Format = TLogFormat::Adif;
    TAdifRecords records(text);
    TPendingRecord pending;
    std::size_t at = 0;

    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::size_t open = at;
        const std::size_t close = text.find('>', open + 1);
        const std::size_t nextOpen = text.find('<', open + 1);
        if (close == std::string_view::npos || nextOpen < close)
            return ReadFailure("tag without its closing '>'", text, open);

        const TTag tag = SplitTag(text.substr(open + 1, close - open - 1));
        if (tag.Name.empty())
            return ReadFailure("tag without a name", text, open);

        std::size_t valueStart = close + 1;
        std::string_view value;
        if (tag.Length) {
            const std::optional<std::size_t> length = ParseLength(*tag.Length, text.size());
            if (!length)
                return ReadFailure("length '" + std::string(*tag.Length) + "' of field " + tag.Name +
                                       " is not a number",
                                   text, open);
            if (*length > text.size() - valueStart)
                return ReadFailure("field " + tag.Name + " of length " + std::string(*tag.Length) +
                                       " runs past the end of the file",
                                   text, open);
            value = text.substr(valueStart, *length);
        }
        at = valueStart + value.size();

        if (tag.Name == "EOR") {
            if (!pending.Fields.empty())
                records.Add(pending, result);
            pending.Fields.clear();
        } else if (tag.Name == "EOH") {
            for (const TField& field : pending.Fields)
                result.Header.Tags.emplace_back(field.Name, std::string(TrimLogBlanks(field.Value)));
            pending.Fields.clear();
        } else if (!tag.Length) {
            return ReadFailure("field " + tag.Name + " has no length", text, open);
        } else {
            if (pending.Fields.empty())
                pending.FirstTag = open;
            if (!pending.Find(tag.Name))
                pending.Fields.push_back({tag.Name, value});
        }
    }

    if (!pending.Fields.empty())
        return ReadFailure("record without <EOR> at the end of the file", text, pending.FirstTag);
    records.Finish(result);
    return result;
}
