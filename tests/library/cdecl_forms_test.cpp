// Every _NRXC form must do exactly what its NRX form does. Both come from the
// header's one list, so the checks run over that list: each form passes its
// parameters on in their order, and calling either form with the same
// arguments gives the same result and the same error text.

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "export_list.h"
#include "library_test_support.h"

namespace nrx_test {
namespace {

std::vector<std::string> Names(std::string_view list) {
  std::vector<std::string> names;
  for (const Parameter& p : ParseParameters(list)) names.push_back(p.name);
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
