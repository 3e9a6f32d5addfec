#pragma once

// The value names of one nominal variable. They must differ from each other:
// files and displays give a value by its name, so two equal names would merge
// two values on the next save and load.

#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "common/status.h"

namespace tavrin {

// Whether no two names are equal.
bool NominalNamesDistinct(const std::vector<std::string>& names);

// Gives value `index` (0-based) the name, refusing a blank one or one that
// another value has.
[[nodiscard]] Status SetNominalName(std::vector<std::string>& names, int index, std::string name);

// Grows or shrinks the list to `count`; value k gets the name "v<k>", or,
// when another value has that name already, the next unused "v<n>".
void ResizeNominalNames(std::vector<std::string>& names, int count);

}  // namespace tavrin
