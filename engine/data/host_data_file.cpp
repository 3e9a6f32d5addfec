// Data sets in the host package's data files, through kvmdev32. The host
// file has no roles and short names, so a variable's role rides on a tag at
// the end of its long name (" [output]", " [both]", " [ignored]"; inputs
// carry none), and a nominal value name the file cannot hold as an 8-character
// label is kept whole in the label's long label. Host names must differ: of
// names that the host's rules make the same, all but the first get a counter
// in their tail, and each such name (and one the rules refuse) is kept whole
// in a tag "[name: <name>]" before the role tag (after the long label and a
// blank, when there is one). A failure the system explains (kvmdev32 leaves
// its reason in errno) names the file and the reason after the message:
// "<message>: <file>: <reason>".

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <string>
#include <system_error>

#include "common/file_access.h"
#include "common/messages.h"
#include "data/data_set_files.h"
#include "data/data_set_limits.h"
#include "kvmdev32.h"

namespace tavrin {
namespace {

constexpr std::string_view kSubsetColumn = "NNSET";
constexpr std::string_view kNameTagStart = "[name: ";
constexpr std::string_view kNameTagEnd = "]";
constexpr std::size_t kHostNameLength = KVM_NAME_BUFFER_SIZE - 1;
constexpr const char* kSubsetLabels[] = {"Train", "Verify", "Test", "Ignore"};
constexpr std::size_t kLongLabelLength = KVM_LONG_LABEL_BUFFER_SIZE - 1;
constexpr std::size_t kLongNameLength = KVM_LONG_NAME_BUFFER_SIZE - 1;

struct RoleTag {
  VariableRole role;
  std::string_view tag;
};
constexpr RoleTag kRoleTags[] = {{VariableRole::kOutput, " [output]"},
                                 {VariableRole::kBoth, " [both]"},
                                 {VariableRole::kNeither, " [ignored]"}};

// Closes the file on every path; a failed close after a read is reported.
class HostFile {
 public:
  explicit HostFile(KvmFile* file) : file_(file) {}
  ~HostFile() {
    if (file_) KvmCloseFile(file_);
  }
  KvmFile* get() const { return file_; }
  bool Close() {
    KvmFile* f = file_;
    file_ = nullptr;
    return KvmCloseFile(f) == 1;
  }

 private:
  KvmFile* file_;
};

// The message, then the file and the system's reason when there is one.
std::string WithReason(std::string_view message, const std::filesystem::path& path, int reason) {
  return reason != 0 ? FileMessage(message, path, reason) : std::string(message);
}

// For a failed kvmdev32 call: errno holds its reason.
std::nullptr_t RefuseWithReason(std::string_view message, const std::filesystem::path& path) {
  const int reason = errno;
  return Refused(WithReason(message, path, reason));
}

Status FailWithReason(std::string_view message, const std::filesystem::path& path, int reason) {
  return Fail(WithReason(message, path, reason));
}

// Splits a role tag off a long name.
VariableRole TakeRoleTag(std::string& long_name) {
  for (const RoleTag& t : kRoleTags) {
    if (long_name.size() >= t.tag.size() &&
        long_name.compare(long_name.size() - t.tag.size(), t.tag.size(), t.tag) == 0) {
      long_name.resize(long_name.size() - t.tag.size());
      return t.role;
    }
  }
  return VariableRole::kInput;
}

// Splits the whole-name tag off a long name whose role tag is gone; the long
// label is what precedes it.
bool TakeNameTag(std::string& long_name, std::string& name) {
  if (!long_name.ends_with(kNameTagEnd)) return false;
  std::size_t at = long_name.find(kNameTagStart);
  while (at != std::string::npos && at != 0 && long_name[at - 1] != ' ') {
    at = long_name.find(kNameTagStart, at + 1);
  }
  if (at == std::string::npos) return false;
  const std::size_t start = at + kNameTagStart.size();
  name = long_name.substr(start, long_name.size() - kNameTagEnd.size() - start);
  long_name.resize(at == 0 ? 0 : at - 1);
  return true;
}

// The first `length` bytes of a host name, never splitting a UTF-8 character.
std::string NamePrefix(const std::string& name, std::size_t length) {
  if (length >= name.size()) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  return name.substr(0, length);
}

std::string StoredName(KvmFile* file, int column) {
  char name[KVM_NAME_BUFFER_SIZE] = {};
  if (KvmGetVarName(file, column, name) != 1) return {};
  return name;
}

// Names every variable's column: its name as the host's rules make it (the
// generated VAR<n> where they refuse it), kept as it is when no other column
// comes out the same. Of names that come out the same (as each other or as
// the subset column), the first keeps it and the others get a counter for
// their tail, avoiding every name in use. Fills `stored` and, per variable,
// whether the whole name must ride in the long name: it was refused or shared.
// False when the file refused a name.
bool SetHostNames(KvmFile* file, const DataSet& data, std::vector<std::string>& stored,
                  std::vector<bool>& keep_whole) {
  const int count = data.no_variables;
  stored.assign(count, {});
  keep_whole.assign(count, false);
  std::map<std::string, int> uses = {{std::string(kSubsetColumn), 1}};
  for (int v = 0; v < count; ++v) {
    const std::string& whole = data.variable_names[v];
    keep_whole[v] = KvmSetVarName(file, v + 2, whole.c_str()) != 1 && !whole.empty();
    stored[v] = StoredName(file, v + 2);
    if (stored[v].empty()) return false;
    ++uses[stored[v]];
  }
  std::set<std::string> kept = {std::string(kSubsetColumn)};
  for (int v = 0; v < count; ++v) {
    if (uses[stored[v]] == 1) continue;
    keep_whole[v] = true;
    if (kept.insert(stored[v]).second) continue;  // the first of its kind
    // Counters of up to 7 digits leave the name at least one character.
    std::string name;
    for (int n = 1; n < 10'000'000 && name.empty(); ++n) {
      const std::string digits = std::to_string(n);
      const std::string candidate = NamePrefix(stored[v], kHostNameLength - digits.size()) + digits;
      if (uses.count(candidate) == 0) name = candidate;
    }
    if (name.empty() || KvmSetVarName(file, v + 2, name.c_str()) != 1) return false;
    stored[v] = StoredName(file, v + 2);
    uses[stored[v]] = 1;
  }
  return true;
}

// Value labels become variable v's nominal names when its values can be read
// as value numbers without changing any: every label's value is a whole
// number from 1 on, and so is every value present, up to the largest label
// value k. The name of value i is its long label (which holds names too long
// for a label) or its label; where long labels would give two values the
// same name, their labels are taken instead, and values without a label (or
// with a name still taken) get "v<i>", made unique. Labels that cannot be
// kept leave the variable numeric, with a warning.
void ReadNominals(KvmFile* file, int column, DataSet& data, int v) {
  std::int32_t count = 0;
  if (KvmGetNumVarLabels(file, column, &count) != 1 || count < 1) return;
  struct Named {
    std::string label;
    std::string long_label;
  };
  std::map<std::size_t, Named> labelled;  // by value number
  bool numbered = true;
  for (std::int32_t i = 1; i <= count && numbered; ++i) {
    double value = 0;
    char label[KVM_LABEL_BUFFER_SIZE] = {};
    char long_label[KVM_LONG_LABEL_BUFFER_SIZE] = {};
    numbered = KvmGetVarLabelByIndex(file, column, i, &value, label, long_label) == 1 &&
               value >= 1.0 && value <= kMaxNominalValues && value == std::floor(value);
    if (numbered) labelled[static_cast<std::size_t>(value)] = {label, long_label};
  }
  const std::size_t k = numbered ? labelled.rbegin()->first : 0;
  for (int c = 0; c < data.no_cases && numbered; ++c) {
    const double x = data.at(c, v);
    numbered = IsMissing(x) || (x >= 1.0 && x <= static_cast<double>(k) && x == std::floor(x));
  }
  if (!numbered) {
    RecordWarning("The value labels of variable \"" + data.variable_names[v] +
                  "\" are not kept: its values are not all value numbers 1, 2, ... that the "
                  "labels could name, so it is read as numeric");
    return;
  }

  std::vector<std::string> names(k);
  std::vector<bool> from_long_label(k, false);
  for (const auto& [i, named] : labelled) {
    from_long_label[i - 1] = !named.long_label.empty();
    names[i - 1] = from_long_label[i - 1] ? named.long_label : named.label;
  }
  // Each pass replaces long labels that clash by their labels; as each value
  // changes at most once, this ends, with every long label left unique.
  for (bool changed = true; changed;) {
    changed = false;
    std::map<std::string, int> uses;
    for (const std::string& name : names) {
      if (!name.empty()) ++uses[name];
    }
    for (const auto& [i, named] : labelled) {
      if (from_long_label[i - 1] && uses[names[i - 1]] > 1) {
        names[i - 1] = named.label;
        from_long_label[i - 1] = false;
        changed = true;
      }
    }
  }
  // Labels first, so that no made-up name takes one; a label that a damaged
  // file gave two values names only the first.
  std::set<std::string> taken;
  for (std::string& name : names) {
    if (!name.empty() && !taken.insert(name).second) name.clear();
  }
  for (std::size_t i = 0; i < k; ++i) {
    if (!names[i].empty()) continue;
    const std::string base = "v" + std::to_string(i + 1);
    names[i] = base;
    for (int n = 2; !taken.insert(names[i]).second; ++n) names[i] = base + "_" + std::to_string(n);
  }
  data.nominals[v] = std::move(names);
}

// A label the host file accepts for a name: the name itself when it is one,
// else "v<k>"; the long label then keeps the whole name.
bool AddNominalLabel(KvmFile* file, int column, int k, const std::string& name) {
  const std::string fallback = "v" + std::to_string(k);
  if (name.size() <= 8 && KvmAddLabel(file, column, k, name.c_str(), nullptr) == 1) {
    // Labels are kept trimmed; a name with outer blanks needs its long label.
    char label[KVM_LABEL_BUFFER_SIZE] = {};
    if (KvmGetLabelForValue(file, column, k, label) == 1 && name == label) return true;
    KvmDeleteLabelForValue(file, column, k);
  }
  if (KvmAddLabel(file, column, k, fallback.c_str(), name.c_str()) == 1) return true;
  // The fallback may clash with another value's label.
  const std::string unique = "n" + std::to_string(k);
  return KvmAddLabel(file, column, k, unique.c_str(), name.c_str()) == 1;
}

}  // namespace

std::unique_ptr<DataSet> ReadHostDataFile(const std::filesystem::path& path) {
  try {
    HostFile file(KvmOpenFile(path.c_str()));
    if (!file.get()) {
      // A reason means the file could not be opened or read; none, that it
      // is not a data file.
      const int reason = errno;
      if (reason == 0) return Refused(kCannotReadHostFile);
      return Refused(WithReason(kCannotOpenDataSetFile, path, reason));
    }
    const std::int32_t columns = KvmGetNVars(file.get());
    const std::int32_t cases = KvmGetNCases(file.get());
    char name[KVM_NAME_BUFFER_SIZE] = {};
    if (columns < 1 || cases < 1) return Refused(kCannotReadHostFile);
    if (KvmGetVarName(file.get(), 1, name) != 1) {
      return RefuseWithReason(kCannotReadHostFile, path);
    }
    const bool has_subsets = kSubsetColumn == name;
    const int first = has_subsets ? 2 : 1;
    const int variables = columns - (has_subsets ? 1 : 0);
    if (variables < 1 || !DataEntriesFit(cases, columns)) {
      return Refused(variables < 1 ? kCannotReadHostFile : kNotEnoughMemory);
    }

    auto data = std::make_unique<DataSet>();
    char header[KVM_HEADER_BUFFER_SIZE] = {};
    if (KvmGetFileHeader(file.get(), header, sizeof header) == 1) data->title = header;
    data->no_variables = variables;
    data->variable_names.resize(variables);
    data->nominals.resize(variables);
    data->is_input.assign(variables, 1);
    data->is_output.assign(variables, 0);
    data->host_attributes.resize(variables);
    std::vector<double> codes(columns);
    if (KvmGetAllMD(file.get(), codes.data()) != 1)
      return RefuseWithReason(kCannotReadHostFile, path);
    for (int v = 0; v < variables; ++v) {
      const int column = first + v;
      HostAttributes& host = data->host_attributes[v];
      std::int32_t width = 0, decimals = 0, field2 = 0, field3 = 0;
      char long_name[KVM_LONG_NAME_BUFFER_SIZE] = {};
      if (KvmGetVarName(file.get(), column, name) != 1 ||
          KvmGetVarFormat(file.get(), column, &width, &decimals, &field2, &field3) != 1 ||
          KvmGetVarLongName(file.get(), column, long_name, sizeof long_name) != 1) {
        return RefuseWithReason(kCannotReadHostFile, path);
      }
      data->variable_names[v] = name;
      host.display_width = static_cast<std::int16_t>(width);
      host.decimals = static_cast<std::int16_t>(decimals);
      host.attribute3 = static_cast<std::int16_t>(field2);
      host.attribute4 = static_cast<std::int16_t>(field3);
      host.missing_code = codes[column - 1];
      host.long_label = long_name;
      SetVariableRoles(*data, v, 1, TakeRoleTag(host.long_label));
      TakeNameTag(host.long_label, data->variable_names[v]);
    }

    data->no_cases = cases;
    data->case_capacity = cases;
    data->entries.resize(static_cast<std::size_t>(cases) * variables);
    data->case_names.resize(cases);
    data->subset.assign(cases, static_cast<std::int32_t>(Subset::kTraining));
    std::vector<double> row(columns);
    const bool named = KvmGetCaseNameLength(file.get()) > 0;
    for (int c = 0; c < cases; ++c) {
      if (KvmGetCaseData(file.get(), c + 1, row.data()) != 1) {
        return RefuseWithReason(kCannotReadHostFile, path);
      }
      if (has_subsets) {
        const double s = row[0];
        // Values 1..4 are the subsets; anything else reads as training.
        data->subset[c] = (s == 1 || s == 2 || s == 3 || s == 4) ? static_cast<int>(s) - 1 : 0;
      }
      for (int v = 0; v < variables; ++v) {
        const double x = row[first - 1 + v];
        data->at(c, v) = x == codes[first - 1 + v] ? MISSING : x;
      }
      if (named) {
        char case_name[KVM_CASE_NAME_BUFFER_SIZE] = {};
        if (KvmGetCaseName(file.get(), c + 1, case_name, sizeof case_name) == 1) {
          data->case_names[c] = case_name;
        }
      }
    }
    for (int v = 0; v < variables; ++v) ReadNominals(file.get(), first + v, *data, v);
    if (!file.Close()) {
      return RefuseWithReason(kHostCloseFailed, path);
    }
    RecountDataSet(*data);
    return data;
  } catch (const std::bad_alloc&) {
    return Refused(kNotEnoughMemory);
  }
}

Status WriteHostDataFile(const DataSet& data, const std::filesystem::path& path) {
  const int columns = data.no_variables + 1;
  if (columns > KVM_MAX_VARIABLES) {
    return Fail(kTooManyHostVariables);
  }
  for (int v = 0; v < data.no_variables; ++v) {
    for (const std::string& n : data.nominals[v]) {
      if (n.size() > kLongLabelLength) {
        return Fail(kHostNominalTooLong);
      }
    }
    if (data.nominals[v].size() > KVM_MAX_LONG_LABELS) {
      return Fail(kTooManyHostNominals);
    }
  }
  // Written under a temporary name beside the target and renamed over it only
  // when complete, so a failed save leaves the old file as it was.
  std::string temporary = (path.parent_path() / (path.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return FailWithReason(kCannotWriteDataSetFile, path, errno);
  // mkstemp makes the file private; the saved file keeps the target's mode,
  // or gets the usual one for a new file.
  struct stat existing {};
  mode_t mode = 0;
  if (stat(path.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);
  close(fd);
  struct Remove {
    std::string name;
    ~Remove() {
      if (!name.empty()) std::remove(name.c_str());
    }
  } cleanup{temporary};
  HostFile file(KvmCreateFile(columns, data.no_cases, temporary.c_str()));
  if (!file.get()) {
    return FailWithReason(kHostFileInUse, path, errno);
  }
  KvmFile* f = file.get();
  bool ok = true;
  int reason = 0;  // of the first failed call
  const auto done = [&reason](std::int32_t result) {
    if (result != 1) reason = errno;
    return result == 1;
  };
  if (!data.title.empty()) ok = ok && done(KvmSetFileHeader(f, data.title.c_str()));
  ok = ok && done(KvmSetVarName(f, 1, std::string(kSubsetColumn).c_str()));
  for (int s = 0; s < 4; ++s) ok = ok && done(KvmAddLabel(f, 1, s + 1, kSubsetLabels[s], nullptr));
  std::vector<std::string> stored;
  std::vector<bool> keep_whole;
  ok = ok && done(SetHostNames(f, data, stored, keep_whole) ? 1 : 0);
  for (int v = 0; v < data.no_variables && ok; ++v) {
    const int column = v + 2;
    const HostAttributes& host = data.host_attributes[v];
    const std::string& whole = data.variable_names[v];
    std::string role_tag;
    for (const RoleTag& t : kRoleTags) {
      if (data.role(v) == t.role) role_tag = t.tag;
    }
    std::string long_name = host.long_label;
    if (long_name.size() + role_tag.size() > kLongNameLength) {
      return Fail(kHostLongLabelTooLong);
    }
    if (keep_whole[v]) {
      std::string tag = (long_name.empty() ? "" : " ") + std::string(kNameTagStart) + whole +
                        std::string(kNameTagEnd);
      if (long_name.size() + tag.size() + role_tag.size() <= kLongNameLength) {
        long_name += tag;
      } else {
        RecordWarning("The name of variable \"" + whole +
                      "\" is too long to be kept whole in a KALVIMETRA data file; it is saved "
                      "as \"" +
                      stored[v] + "\"");
      }
    }
    long_name += role_tag;
    ok = ok && done(KvmSetVarLongName(f, column, long_name.c_str()));
    for (std::size_t k = 0; k < data.nominals[v].size() && ok; ++k) {
      ok = done(AddNominalLabel(f, column, static_cast<int>(k) + 1, data.nominals[v][k]) ? 1 : 0);
    }
    ok = ok && done(KvmSetVarFormat(f, column, host.display_width, host.decimals, host.attribute3,
                                    host.attribute4));
    ok = ok && done(KvmSetVarMD(f, column, host.missing_code));
  }
  bool named = false;
  for (const std::string& n : data.case_names) named = named || !n.empty();
  if (named) ok = ok && done(KvmSetCaseNameLength(f, KVM_MAX_CASE_NAME_LENGTH));
  std::vector<double> row(columns);
  for (int c = 0; c < data.no_cases && ok; ++c) {
    if (named && !data.case_names[c].empty()) {
      ok = done(KvmSetCaseName(f, c + 1, data.case_names[c].c_str()));
    }
    row[0] = data.subset[c] + 1;
    std::copy_n(data.row(c), data.no_variables, row.begin() + 1);
    ok = ok && done(KvmSetCaseData(f, c + 1, row.data()));
  }
  // After a failed edit the file is still closed (its content goes with the
  // temporary file), and the edit's reason is the one reported.
  if (!file.Close()) {
    if (ok) reason = errno;
    ok = false;
  }
  if (!ok) return FailWithReason(kCannotWriteDataSetFile, path, reason);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    return FailWithReason(kCannotWriteDataSetFile, path, errno);
  }
  cleanup.name.clear();
  return Status::Ok();
}

}  // namespace tavrin
