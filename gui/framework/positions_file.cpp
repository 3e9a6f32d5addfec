#include "positions_file.h"

#include <charconv>

#include "settings_file.h"

namespace tavrin::gui {
namespace {

// The five tab-separated numbers after the closing quote and one tab.
bool ReadNumbers(std::string_view text, int (&numbers)[5]) {
  for (int& n : numbers) {
    if (text.empty() || text.front() != '\t') return false;
    text.remove_prefix(1);
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    if (r.ec != std::errc()) return false;
    text.remove_prefix(static_cast<std::size_t>(r.ptr - text.data()));
  }
  return true;
}

bool WithinBounds(const Placement& p) {
  const auto coordinate = [](int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
  const auto extent = [](int v) { return v >= 0 && v <= kMaxCoordinate; };
  return coordinate(p.x) && coordinate(p.y) && extent(p.width) && extent(p.height);
}

}  // namespace

Positions ReadPositions(std::istream& in, WindowList& windows) {
  Positions positions;
  SettingsLines lines(in);
  std::string line;
  if (!lines.Next(line)) return positions;
  positions.autostore = line.rfind("autostore on", 0) == 0;
  while (lines.Next(line)) {
    if (line.size() < 2 || line.front() != '"') continue;
    const std::size_t close = line.find('"', 1);
    if (close == std::string::npos) continue;
    const std::string name = line.substr(1, close - 1);
    int n[5];
    if (!ReadNumbers(std::string_view(line).substr(close + 1), n)) continue;
    const Placement placement{n[1], n[2], n[3], n[4]};
    if (!WithinBounds(placement)) continue;
    if (name == "main") {
      positions.has_main = true;
      positions.main = placement;
      continue;
    }
    const WindowType type =
        (n[0] >= 0 && n[0] <= 2) ? static_cast<WindowType>(n[0]) : WindowType::kMdiChild;
    if (windows.Find(name) == nullptr && windows.entries().size() >= kMaxStoredWindows) continue;
    windows.Add(name, type, placement, true);
  }
  return positions;
}

bool WritePositions(std::ostream& out, const Positions& positions, const WindowList& windows) {
  out << (positions.autostore ? "autostore on\n" : "autostore off\n");
  const Placement& m = positions.main;
  out << "\"main\"\t0\t" << m.x << '\t' << m.y << '\t' << m.width << '\t' << m.height << '\n';
  for (const WindowEntry& e : windows.entries()) {
    // A name holding a quote or a line end could not be read back.
    if (e.name.find_first_of("\"\n\r") != std::string::npos) continue;
    const Placement& p = e.placement;
    out << '"' << e.name << "\"\t" << static_cast<int>(e.type) << '\t' << p.x << '\t' << p.y << '\t'
        << p.width << '\t' << p.height << '\n';
  }
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace tavrin::gui
