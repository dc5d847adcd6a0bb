#pragma once
// The layer report: for every time layer its number, a line with one blank, then
// the numerical and the exact value of each grid point in fixed text.

#include <functional>
#include <string>
#include <vector>

#include "app/solver.h"
#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

// The locale is read again at each conversion, as the user may change it meanwhile.
using LocaleProvider = std::function<LocaleSettings()>;

// (M+1)·(N+2) lines; only the header of layer 0 and the blank line while no
// computation has set M and N.
std::vector<std::string> ReportLines(const SolverState& state, const LocaleProvider& locale);
// The same lines one by one, for a report too large to hold.
void ForEachReportLine(const SolverState& state, const LocaleProvider& locale,
                       const std::function<void(const std::string&)>& line);

}  // namespace tarvela
