#include "data/data_set_blocks.h"

#include <algorithm>
#include <new>
#include <vector>

#include "common/messages.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

bool BlockFits(int size, int first, int count, int position) {
  return count > 0 && first >= 0 && first <= size - count && position >= 0 && position <= size;
}

// The items in their order after the block [first, first + count) moved to
// before `position`.
std::vector<int> MovedOrder(int size, int first, int count, int position) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(size));
  for (int i = 0; i <= size; ++i) {
    if (i == position) {
      for (int k = 0; k < count; ++k) order.push_back(first + k);
    }
    if (i < size && (i < first || i >= first + count)) order.push_back(i);
  }
  return order;
}

template <typename T>
std::vector<T> Picked(const std::vector<T>& items, const std::vector<int>& order) {
  std::vector<T> picked;
  picked.reserve(order.size());
  for (const int i : order) picked.push_back(items[static_cast<std::size_t>(i)]);
  return picked;
}

// Moves, so that nothing is allocated once the data set has made room.
template <typename T>
void PutBlock(std::vector<T>& items, int position, std::vector<T>& block) {
  std::move(block.begin(), block.end(), items.begin() + position);
}

// The entries with the variables picked in `order`, case by case.
std::vector<double> ColumnsPicked(const DataSet& data, const std::vector<int>& order) {
  std::vector<double> entries;
  entries.reserve(
      std::max(data.entries.capacity(), static_cast<std::size_t>(data.no_cases) * order.size()));
  for (int c = 0; c < data.no_cases; ++c) {
    for (const int v : order) entries.push_back(data.at(c, v));
  }
  return entries;
}

}  // namespace

Status MoveCases(DataSet& data, int first, int count, int position) {
  if (!BlockFits(data.no_cases, first, count, position)) return Fail(kCaseOutOfRange);
  try {
    const std::vector<int> order = MovedOrder(data.no_cases, first, count, position);
    std::vector<double> entries;
    entries.reserve(data.entries.capacity());
    for (const int c : order)
      entries.insert(entries.end(), data.row(c), data.row(c) + data.no_variables);
    std::vector<std::string> names = Picked(data.case_names, order);
    std::vector<std::int32_t> subset = Picked(data.subset, order);
    data.entries.swap(entries);
    data.case_names.swap(names);
    data.subset.swap(subset);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

Status CopyCases(DataSet& data, int first, int count, int position) {
  if (!BlockFits(data.no_cases, first, count, position)) return Fail(kCaseOutOfRange);
  std::vector<double> rows;
  std::vector<std::string> names;
  std::vector<std::int32_t> subsets;
  try {
    rows.assign(data.row(first), data.row(first + count - 1) + data.no_variables);
    names.assign(data.case_names.begin() + first, data.case_names.begin() + first + count);
    subsets.assign(data.subset.begin() + first, data.subset.begin() + first + count);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  // Room first; the copies taken above do not move with it.
  if (!ResizeCases(data, position, count)) return Status::Failed();
  std::copy(rows.begin(), rows.end(), data.row(position));
  PutBlock(data.case_names, position, names);
  PutBlock(data.subset, position, subsets);
  RecountDataSet(data);
  return Status::Ok();
}

Status MoveDataVariables(DataSet& data, int first, int count, int position) {
  if (!BlockFits(data.no_variables, first, count, position)) return Fail(kVariableOutOfRange);
  try {
    const std::vector<int> order = MovedOrder(data.no_variables, first, count, position);
    std::vector<double> entries = ColumnsPicked(data, order);
    std::vector<std::string> names = Picked(data.variable_names, order);
    std::vector<std::vector<std::string>> nominals = Picked(data.nominals, order);
    std::vector<std::int32_t> is_input = Picked(data.is_input, order);
    std::vector<std::int32_t> is_output = Picked(data.is_output, order);
    std::vector<HostAttributes> host = Picked(data.host_attributes, order);
    data.entries.swap(entries);
    data.variable_names.swap(names);
    data.nominals.swap(nominals);
    data.is_input.swap(is_input);
    data.is_output.swap(is_output);
    data.host_attributes.swap(host);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

Status CopyDataVariables(DataSet& data, int first, int count, int position) {
  if (!BlockFits(data.no_variables, first, count, position)) return Fail(kVariableOutOfRange);
  std::vector<int> block(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) block[static_cast<std::size_t>(k)] = first + k;
  std::vector<double> columns;
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> nominals;
  std::vector<std::int32_t> is_input, is_output;
  std::vector<HostAttributes> host;
  try {
    columns = ColumnsPicked(data, block);
    names = Picked(data.variable_names, block);
    nominals = Picked(data.nominals, block);
    is_input = Picked(data.is_input, block);
    is_output = Picked(data.is_output, block);
    host = Picked(data.host_attributes, block);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  if (!ResizeDataVariables(data, position, count)) return Status::Failed();
  for (int c = 0; c < data.no_cases; ++c) {
    std::copy_n(columns.begin() + static_cast<std::ptrdiff_t>(c) * count, count,
                data.row(c) + position);
  }
  PutBlock(data.variable_names, position, names);
  PutBlock(data.nominals, position, nominals);
  PutBlock(data.is_input, position, is_input);
  PutBlock(data.is_output, position, is_output);
  PutBlock(data.host_attributes, position, host);
  RecountDataSet(data);
  return Status::Ok();
}

}  // namespace tavrin
