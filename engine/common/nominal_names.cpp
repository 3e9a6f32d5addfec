#include "common/nominal_names.h"

#include <algorithm>
#include <unordered_set>

#include "common/ascii.h"

namespace tavrin {

bool NominalNamesDistinct(const std::vector<std::string>& names) {
  std::unordered_set<std::string_view> seen;
  for (const std::string& n : names) {
    if (!seen.insert(n).second) return false;
  }
  return true;
}

Status SetNominalName(std::vector<std::string>& names, int index, std::string name) {
  if (IsAllBlank(name)) return Fail(kBlankNominal);
  for (int k = 0; k < static_cast<int>(names.size()); ++k) {
    if (k != index && names[k] == name) return Fail(kDuplicateNominal);
  }
  names[index] = std::move(name);
  return Status::Ok();
}

void ResizeNominalNames(std::vector<std::string>& names, int count) {
  const std::size_t old_count = std::min(names.size(), static_cast<std::size_t>(count));
  names.resize(count);
  std::unordered_set<std::string> used(names.begin(), names.begin() + old_count);
  int next = 0;
  for (std::size_t k = old_count; k < names.size(); ++k) {
    next = std::max(next, static_cast<int>(k) + 1);
    std::string candidate = "v" + std::to_string(next);
    while (used.count(candidate) > 0) candidate = "v" + std::to_string(++next);
    used.insert(candidate);
    names[k] = std::move(candidate);
  }
}

}  // namespace tavrin
