#include "velmora-check/CheckTypes.h"

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

std::uint32_t TTextPool::Intern(std::string_view text)
{
    if (const auto found = Ids_.find(text); found != Ids_.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(Texts_.size());
    Texts_.emplace_back(text);
    Ids_.emplace(Texts_.back(), id);
    return id;
}

std::uint32_t TTextPool::Find(std::string_view text) const
{
    const auto found = Ids_.find(text);
    return found == Ids_.end() ? kNoIndex : found->second;
}
