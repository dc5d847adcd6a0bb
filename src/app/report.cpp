#include "app/report.h"

#include "tarvela/runtime/number_text.h"

namespace tarvela {

std::vector<std::string> ReportLines(const SolverState& st, const LocaleProvider& locale) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(st.M + 1) * static_cast<std::size_t>(st.N + 2));
  ForEachReportLine(st, locale, [&](const std::string& line) { lines.push_back(line); });
  return lines;
}

void ForEachReportLine(const SolverState& st, const LocaleProvider& locale,
                       const std::function<void(const std::string&)>& lines) {
  for (int n = 0; n <= st.M; ++n) {
    lines("layer  " + IntToStr(n));
    lines(" ");
    for (int j = 1; j <= st.N; ++j) {
      const std::string index = IntToStr(j) + "," + IntToStr(n);
      std::string line = "u[" + index + "]= " + FloatToStrFixed(LayerValue(st.u, j, n), locale());
      line += "   y[" + index + "]= " + FloatToStrFixed(LayerValue(st.y, j, n), locale());
      lines(line);
    }
  }
}

}  // namespace tarvela
