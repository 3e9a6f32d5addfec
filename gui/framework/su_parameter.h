#pragma once

// The value layer of the interface: every value, button, menu command and
// display the user meets is a named parameter bound to a program variable,
// with a change callback (run after the value is set from text, or when a
// button or command is activated) and an availability callback (whether its
// control is enabled).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tavrin::gui {

// Kind codes, as a compiled-in element table stores them.
enum class SuType : int {
  kNone = 0,
  kInteger = 1,
  kReal = 2,
  kString = 3,
  kAction = 4,
  kSwitch = 5,
  kChoice = 6,
  kLong = 7,
  kButton = 100,
  kGraph = 102,
  kMenuItem = 103,
  kTextViewer = 104,
  kCanvas = 105,
  kMatrix = 106,
  kBarChart = 107,
  kWhatIf = 108,
  kScatter = 109,
  kToolButton = 110,
  kMultiList = 111,
  kList = 112,
};

// Whether the kind holds a value that text can set (codes 1 to 7).
bool IsValueKind(SuType type);

// An action: choosing an option writes its number to a program variable.
struct SuAction {
  struct Option {
    std::string name;
    int value = 0;
  };
  int current = 0;
  int* target = nullptr;
  std::vector<Option> options;
};

// A choice among texts; the program reads the index.
struct SuChoice {
  int current = 0;
  std::vector<std::string> options;
};

// A display's data (graph, matrix, canvas, ...), owned by the program.
struct SuDisplay {
  void* data = nullptr;
};

// Where a parameter's value lives: the shape follows the kind.
using SuValue = std::variant<std::monostate, int*, double*, std::string*, SuAction*, SuChoice*,
                             long*, SuDisplay>;

struct SuParameter;
using ChangeCallback = std::function<int(SuParameter&)>;
using AvailabilityCallback = std::function<int()>;

struct SuParameter {
  std::string name;
  SuValue value;
  ChangeCallback change;
  SuType type = SuType::kNone;
  AvailabilityCallback available;
};

// Reports of the interface layers: the program shows them (message boxes or
// the status line); tests record them. Numbered texts come from the message
// file.
class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void Error(std::string_view text) = 0;
  virtual void Warning(std::string_view text) = 0;
  virtual std::string Message(int number) const = 0;
};

// The program's parameters, looked up by exact name (the first of equal
// names wins). Parameters stay where they are once added, so elements may
// point at them.
class ParameterTable {
 public:
  ParameterTable() = default;
  explicit ParameterTable(std::vector<SuParameter> parameters);

  SuParameter* Find(std::string_view name);
  const SuParameter* Find(std::string_view name) const;
  int IndexOf(const SuParameter* parameter) const;  // -1 when not in the table
  SuParameter* At(int index);
  int size() const { return static_cast<int>(parameters_.size()); }

  // Merges another table in: new names are appended; a name already present
  // may be given again only by an action over an action or a choice over a
  // choice, whose options are merged (a new option with an existing name
  // replaces it in place, others are appended) and whose non-null change
  // callback replaces the old one. Refusals are reported and skipped.
  void Merge(std::vector<SuParameter> more, Reporter& reporter);

 private:
  std::vector<std::unique_ptr<SuParameter>> parameters_;
};

}  // namespace tavrin::gui
