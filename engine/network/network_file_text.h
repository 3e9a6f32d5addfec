#pragma once

// The marks of the network file's text that its reader and writer share.

#include <string_view>

namespace tavrin {

inline constexpr char kCommentMark = '#';
// Between a variable's name and its nominal value names, and after them.
inline constexpr std::string_view kNominalListOpen = "={";
inline constexpr char kNominalListClose = '}';
inline constexpr char kNominalSeparator = ',';
// Between a unit's name and its class in a unit label.
inline constexpr char kClassMark = ':';
// Around the layer sizes of the no_layers line.
inline constexpr char kLayerListOpen = '(';
inline constexpr char kLayerListClose = ')';

}  // namespace tavrin
