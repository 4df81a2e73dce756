// The logs the end-to-end figures are taken on: generated contests (calls
// such as DL1ABC or K3XY/P, six bands, three modes, about 5% duplicates and
// about 40% member exchanges) with every column of the log table filled, the
// same contacts on every platform and every run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"

#include <cstdint>

// `startValue` picks another contest of the same kind.
std::vector<TLogRow> BenchLog(std::size_t contacts, std::uint32_t startValue = 1);

// The rows as an ADIF file that the log readers give back unchanged.
std::string AdifOf(const std::vector<TLogRow>& rows);

// The rows as a Cabrillo 3.0 log sent by `myCall`: the band as a frequency
// in kHz, the received exchange as written (a lone "0" when empty) and as
// many sent fields.
std::string CabrilloOf(const std::vector<TLogRow>& rows, const std::string& myCall);

// "100,000"
std::string Grouped(std::size_t number);
