#include "logfiles/ReaderWarnings.h"

#include <algorithm>
#include <utility>

void TWarningList::Add(std::string_view kind, std::size_t line, std::string what)
{
    auto found = Kinds_.find(kind);
    if (found == Kinds_.end())
        found = Kinds_.emplace(std::string(kind), TKindCount{}).first;
    TKindCount& count = found->second;
    if (count.Listed < kListedPerKind) {
        ++count.Listed;
        Warnings_.push_back({std::move(what), line, {}});
    } else {
        ++count.Left;
    }
}

std::vector<TLogWarning> TWarningList::Take()
{
    for (const auto& [kind, count] : Kinds_)
        if (count.Left > 0)
            Warnings_.push_back({std::to_string(count.Left) + " more like '" + kind + "' not listed", 0, {}});
    Kinds_.clear();
    return std::move(Warnings_);
}

void TUnnamedBands::Add(std::string_view what, std::string_view text, std::size_t line)
{
    std::string key = std::string(what) + " '" + std::string(text) + "'";
    auto found = Seen_.find(key);
    if (found == Seen_.end()) {
        if (Seen_.size() >= kListedTexts) {
            ++Unlisted_;
            return;
        }
        found = Seen_.emplace(std::move(key), TSeen{0, line, Seen_.size()}).first;
    }
    ++found->second.Count;
}

void TUnnamedBands::AppendTo(TWarningList& warnings) const
{
    std::vector<std::pair<std::string, TSeen>> inOrder(Seen_.begin(), Seen_.end());
    std::sort(inOrder.begin(), inOrder.end(), [](const auto& a, const auto& b) { return a.second.Order < b.second.Order; });
    for (const auto& [text, seen] : inOrder)
        warnings.Add("names no amateur band", seen.FirstLine,
                     text + " names no amateur band: kept as written (" + std::to_string(seen.Count) +
                         (seen.Count == 1 ? " contact" : " contacts") + ", the first on this line)");
    if (Unlisted_ > 0)
        warnings.Add("names no amateur band", 0,
                     std::to_string(Unlisted_) + " more contacts on bands or frequencies that name no amateur band");
}

std::optional<std::string> ResolveBand(const TBandSources& sources, std::size_t line, TWarningList& warnings,
                                       TUnnamedBands& unnamed)
{
    const std::string_view bandField = sources.BandField ? TrimLogBlanks(*sources.BandField) : std::string_view();
    const std::string_view frequency = sources.Frequency ? TrimLogBlanks(*sources.Frequency) : std::string_view();
    if (!bandField.empty()) {
        std::optional<std::string> band = KnownBandName(bandField);
        if (!band) {
            unnamed.Add("band", bandField, line);
            return std::string(bandField);
        }
        if (sources.FrequencyBand && *sources.FrequencyBand != *band)
            warnings.Add("band and frequency disagree", line,
                         "band '" + std::string(bandField) + "' and frequency '" + std::string(frequency) +
                             "' (the " + *sources.FrequencyBand + " band) disagree: the band field is used");
        return band;
    }
    if (!frequency.empty()) {
        if (sources.FrequencyBand)
            return sources.FrequencyBand;
        // A band written where the frequency belongs ("20m") still names it.
        if (std::optional<std::string> band = KnownBandName(frequency))
            return band;
        unnamed.Add("frequency", frequency, line);
        return std::string(frequency);
    }
    if (sources.BandField || sources.Frequency)
        return std::string();
    return std::nullopt;
}


std::vector<std::string> SplitLogWords(std::string_view text)
{
    std::vector<std::string> words;
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !isBlank(text[at]))
            ++at;
        if (at > start)
            words.emplace_back(text.substr(start, at - start));
    }
    return words;
}

std::size_t TLineCounter::LineOf(std::size_t offset)
{
    offset = std::min(offset, Text_.size());
    if (offset < Offset_) {
        Offset_ = 0;
        Line_ = 1;
    }
    Line_ += static_cast<std::size_t>(std::count(Text_.begin() + static_cast<std::ptrdiff_t>(Offset_),
                                                 Text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    Offset_ = offset;
    return Line_;
}
