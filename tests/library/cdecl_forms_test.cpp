// Every _NRXC form must do exactly what its NRX form does. Both come from the
// header's one list, so the checks run over that list: each form passes its
// parameters on in their order, and calling either form with the same
// arguments gives the same result and the same error text.

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

// The names in "(int32_t net, const double* in)" or "(net, in)"; "(void)"
// and "()" have none.
std::vector<std::string> Names(std::string_view list) {
  list = list.substr(1, list.size() - 2);
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    const std::size_t start = item.find_last_of(" *");
    item = start == std::string_view::npos ? item : item.substr(start + 1);
    if (item != "void") names.emplace_back(item);
  }
  return names;
}

TEST(NrxCdeclForms, EachFormPassesItsParametersOnInOrder) {
#define NRX_CHECK_ORDER(result, name, parameters, arguments) \
  EXPECT_EQ(Names(#parameters), Names(#arguments)) << #name;
  NRX_CDECL_FORMS(NRX_CHECK_ORDER)
#undef NRX_CHECK_ORDER
}

// Calls a form with every argument value-initialised (0, null): each export
// refuses that without touching memory, or acts on slot 0.
template <typename Result, typename... Parameters>
std::string Outcome(Result(NRX_CALL* form)(Parameters...)) {
  MarkErrorText();
  std::string result = "void";
  if constexpr (!std::is_void_v<Result>) {
    result = std::to_string(form(Parameters{}...));
  } else {
    form(Parameters{}...);
  }
  FreeAllSlots();
  return result + " / " + ErrorText();
}

TEST(NrxCdeclForms, EachFormGivesItsPrimaryFormsResultAndMessage) {
#define NRX_COMPARE(result, name, parameters, arguments) \
  EXPECT_EQ(Outcome(&_NRXC##name), Outcome(&NRX##name)) << #name;
  NRX_CDECL_FORMS(NRX_COMPARE)
#undef NRX_COMPARE
}

}  // namespace
}  // namespace nrx_test
