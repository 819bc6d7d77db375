// The budgeted benchmarks of the core; prints Google Benchmark's figures, then the budget table.
// Exits with 2 when a figure is over its budget.

#include "BudgetBenchmarks.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    sw::bench::registerBudgetBenchmarks();
    sw::bench::BudgetTable table(sw::bench::budgetLines());
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return table.overBudget() ? 2 : 0;
}
