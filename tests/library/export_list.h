#pragma once

// The parameters of an export as its entry in NRX_CDECL_FORMS spells them:
// "(int32_t net, const double* in)" gives int32_t net and const double* in;
// an argument list "(net, in)" gives the names without types; "(void)" and
// "()" give nothing.

#include <string>
#include <string_view>
#include <vector>

namespace nrx_test {

struct Parameter {
  std::string type;
  std::string name;
};

inline std::vector<Parameter> ParseParameters(std::string_view list) {
  list = list.substr(1, list.size() - 2);
  std::vector<Parameter> parameters;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (item == "void") break;
    const std::size_t split = item.find_last_of(" *") + 1;  // 0 without a type
    std::string_view type = item.substr(0, split);
    while (!type.empty() && type.back() == ' ') type.remove_suffix(1);
    parameters.push_back({std::string(type), std::string(item.substr(split))});
  }
  return parameters;
}

}  // namespace nrx_test
