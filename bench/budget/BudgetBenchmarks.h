#pragma once

#include "BudgetTable.h"

#include <vector>

namespace sw::bench {

// Registers the budgeted benchmarks with Google Benchmark.
void registerBudgetBenchmarks();

// The table's rows: each budgeted benchmark with what it measures, its floor and its budget.
std::vector<BudgetLine> budgetLines();

} // namespace sw::bench
