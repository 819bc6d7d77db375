#pragma once

#include "../BudgetTable.h"

namespace sw::bench {

// Registers the painting of one race frame at 1920 x 1080; needs a QGuiApplication.
void registerFrameBenchmark();

// Its row of the budget table.
BudgetLine frameBudgetLine();

} // namespace sw::bench
