#include "velmora-check/CheckTypes.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

std::string_view VerdictName(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::XQso: return "x-qso";
    case TVerdict::OutOfPeriod: return "out-of-period";
    case TVerdict::Dupe: return "dupe";
    case TVerdict::BustedCall: return "busted-call";
    case TVerdict::Nil: return "nil";
    case TVerdict::BustedExchange: return "busted-exchange";
    case TVerdict::Unique: return "unique";
    case TVerdict::NoLog: return "no-log";
    case TVerdict::Ok: return "ok";
    }
    return "?";
}

std::string_view VerdictColumnName(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::XQso: return "x_qso";
    case TVerdict::OutOfPeriod: return "out_of_period";
    case TVerdict::Dupe: return "dupe";
    case TVerdict::BustedCall: return "busted_call";
    case TVerdict::Nil: return "nil";
    case TVerdict::BustedExchange: return "busted_exchange";
    case TVerdict::Unique: return "unique";
    case TVerdict::NoLog: return "no_log";
    case TVerdict::Ok: return "ok";
    }
    return "?";
}

bool KeepsCredit(TVerdict verdict)
{
    return verdict == TVerdict::Ok || verdict == TVerdict::NoLog || verdict == TVerdict::Unique;
}

bool IsCopyingError(TVerdict verdict)
{
    return verdict == TVerdict::BustedCall || verdict == TVerdict::Nil || verdict == TVerdict::BustedExchange;
}

TTextRef TCheckLog::Keep(std::string_view text)
{
    // Offsets are 32 bits: a log's texts beyond 4 GiB could not be told
    // apart, and the reader refuses such files long before.
    if (Texts.size() + text.size() > 0xFFFFFFFFu)
        throw std::length_error("log text beyond 4 GiB");
    const TTextRef ref{static_cast<std::uint32_t>(Texts.size()), static_cast<std::uint32_t>(text.size())};
    Texts.append(text);
    return ref;
}

std::uint32_t TTextPool::HashOf(std::string_view text)
{
    const std::uint64_t hash = std::hash<std::string_view>{}(text);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t TTextPool::SlotOf(std::string_view text, std::uint32_t hash) const
{
    const std::size_t mask = Slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const TSlot& probe = Slots_[slot];
        if (probe.Id == kNoIndex || (probe.Hash == hash && Texts_[probe.Id] == text))
            return slot;
    }
}

void TTextPool::Grow()
{
    std::vector<TSlot> old(std::max<std::size_t>(64, Slots_.size() * 2));
    old.swap(Slots_);
    const std::size_t mask = Slots_.size() - 1;
    for (const TSlot& kept : old) {
        if (kept.Id == kNoIndex)
            continue;
        std::size_t slot = kept.Hash & mask;
        while (Slots_[slot].Id != kNoIndex)
            slot = (slot + 1) & mask;
        Slots_[slot] = kept;
    }
}

std::uint32_t TTextPool::Intern(std::string_view text)
{
    if ((Texts_.size() + 1) * 2 > Slots_.size())
        Grow();
    const std::uint32_t hash = HashOf(text);
    TSlot& slot = Slots_[SlotOf(text, hash)];
    if (slot.Id != kNoIndex)
        return slot.Id;
    const auto id = static_cast<std::uint32_t>(Texts_.size());
    Texts_.emplace_back(text);
    slot = {hash, id};
    return id;
}

std::uint32_t TTextPool::Find(std::string_view text) const
{
    if (Slots_.empty())
        return kNoIndex;
    return Slots_[SlotOf(text, HashOf(text))].Id;
}
