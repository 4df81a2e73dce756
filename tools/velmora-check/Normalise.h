// The normalising stage: the pure rules that turn what a log writes into what
// the check compares (calls, kinds of mode, times, exchanges), and the pass
// that applies them to every contact of a run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "velmora-check/CheckTypes.h"

// Letters a-z upper-cased, blanks around removed.
std::string NormaliseCall(std::string_view call);

// "CW"; "PH" for phone (SSB, USB, LSB, PH, FM, AM); "DG" for digital modes
// (RTTY, RY, FT8, FT4, PSK, DG, DATA and the like); any other mode is a kind
// of its own, upper-cased.
std::string ModeKindOf(std::string_view mode);

// Minutes since 1970-01-01 00:00 UTC of "YYYY-MM-DD" and "HHMM" (or
// "HH:MM"); nullopt when either is not a real date or time.
std::optional<std::int32_t> MinuteOf(std::string_view date, std::string_view time);

// "2026-03-01T12:00Z" (the Z may be left out); nullopt otherwise.
std::optional<std::int32_t> ParseContestTime(std::string_view text);

// "2026-03-01T12:00Z".
std::string FormatMinute(std::int32_t minute);

// What the exchange says once the signal report is taken out: fields
// upper-cased, a leading report (two or three digits, 1-5 first) dropped when
// more fields follow, numbers without leading zeros, joined by one space.
std::string ExchangeKey(std::string_view exchange);

// Interns calls, bands, kinds of mode and exchanges, works out each contact's
// minute, and records which call sent which log.
void NormaliseRun(TCheckRun& run, unsigned jobs);
