#include "app/report.h"

#include "runtime/number_text.h"

namespace tarvela {

namespace {

// A computation that stopped early may leave N and M set while a row is shorter;
// what was never computed reads as 0 rather than past the end.
double ValueAt(const std::vector<std::vector<double>>& rows, int i, int k) {
  if (i < 0 || k < 0 || static_cast<std::size_t>(i) >= rows.size()) return 0;
  const auto& row = rows[static_cast<std::size_t>(i)];
  return static_cast<std::size_t>(k) < row.size() ? row[static_cast<std::size_t>(k)] : 0;
}

}  // namespace

std::vector<std::string> ReportLines(const SolverState& st, const LocaleProvider& locale) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>((st.M + 1) * (st.N + 2)));
  for (int n = 0; n <= st.M; ++n) {
    lines.push_back("layer  " + IntToStr(n));
    lines.push_back(" ");
    for (int j = 1; j <= st.N; ++j) {
      const std::string index = IntToStr(j) + "," + IntToStr(n);
      std::string line = "u[" + index + "]= " + FloatToStrFixed(ValueAt(st.u, j, n), locale());
      line += "   y[" + index + "]= " + FloatToStrFixed(ValueAt(st.y, j, n), locale());
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

}  // namespace tarvela
