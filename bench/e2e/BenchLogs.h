// The logs the end-to-end figures are taken on: generated contests (calls
// such as DL1ABC or K3XY/P, six bands, three modes, about 5% duplicates and
// about 40% member exchanges) with every column of the log table filled, the
// same contacts on every platform and every run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"

std::vector<TLogRow> BenchLog(std::size_t contacts);

// The rows as an ADIF file that the log readers give back unchanged.
std::string AdifOf(const std::vector<TLogRow>& rows);

// "100,000"
std::string Grouped(std::size_t number);
