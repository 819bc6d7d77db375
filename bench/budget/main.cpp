// The budgeted benchmarks of the core; prints Google Benchmark's figures, then the budget table.
// Exits with 2 when a figure is over its budget.

#include "BudgetBenchmarks.h"

#include <benchmark/benchmark.h>

#ifdef STRIDEWELL_BUDGET_FRAME
#include "frame/FrameBenchmark.h"

#include <QGuiApplication>
#endif

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    sw::bench::registerBudgetBenchmarks();
    std::vector<sw::bench::BudgetLine> lines = sw::bench::budgetLines();
#ifdef STRIDEWELL_BUDGET_FRAME
    // Painting needs the fonts of a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    sw::bench::registerFrameBenchmark();
    lines.push_back(sw::bench::frameBudgetLine());
#endif
    sw::bench::BudgetTable table(std::move(lines));
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return table.overBudget() ? 2 : 0;
}
