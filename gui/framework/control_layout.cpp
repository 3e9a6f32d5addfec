#include "control_layout.h"

#include <algorithm>

namespace tavrin::gui {
namespace {

int ToX(int tenths, const Metrics& m, bool pixels) {
  return pixels ? tenths : tenths * m.char_width / 10;
}

int ToY(int tenths, const Metrics& m, bool pixels) {
  return pixels ? tenths : tenths * m.line_height / 10;
}

bool IsDisplay(SuType kind) {
  switch (kind) {
    case SuType::kGraph:
    case SuType::kTextViewer:
    case SuType::kCanvas:
    case SuType::kMatrix:
    case SuType::kBarChart:
    case SuType::kScatter:
    case SuType::kMultiList:
    case SuType::kList:
      return true;
    default:
      return false;
  }
}

}  // namespace

ControlShape ShapeOf(const SugParameter& e) {
  const SuType kind = e.kind();
  if (e.parameter == nullptr) return ControlShape::kLabel;
  if (IsDisplay(kind)) return ControlShape::kDisplay;
  switch (kind) {
    case SuType::kButton:
    case SuType::kToolButton:
    case SuType::kWhatIf:
    case SuType::kMenuItem:
    case SuType::kNone:
      return ControlShape::kButton;
    case SuType::kSwitch:
      return ControlShape::kCheckBox;
    case SuType::kChoice:
    case SuType::kAction:
      return e.style == ElementStyle::kRadio ? ControlShape::kRadio : ControlShape::kComboBox;
    default:
      break;
  }
  if (e.style == ElementStyle::kBanner) return ControlShape::kBanner;
  if (e.style == ElementStyle::kReadOnly) return ControlShape::kReadOnly;
  return ControlShape::kField;
}

ControlPlace PlaceControl(const SugParameter& e, const Metrics& m, const TextWidths& widths,
                          bool pixels) {
  ControlPlace place;
  place.shape = ShapeOf(e);
  const int x = ToX(e.left, m, pixels);
  const int y = ToY(e.bottom, m, pixels);
  const int prompt_width = e.prompt_width > 0 ? ToX(e.prompt_width, m, pixels) : widths.prompt;
  const int field_width = e.width > 0 ? ToX(e.width, m, pixels) : 10 * m.char_width;
  switch (place.shape) {
    case ControlShape::kLabel:
      place.prompt = {x, y - m.text_height, prompt_width,
                      e.height > 0 ? ToY(e.height, m, pixels) : m.line_height};
      break;
    case ControlShape::kField:
    case ControlShape::kReadOnly: {
      const bool read_only = place.shape == ControlShape::kReadOnly;
      const int height =
          e.height > 0 ? ToY(e.height, m, pixels) : m.line_height + (read_only ? 4 : 8);
      place.prompt = {x, y - m.text_height - 8, prompt_width, m.text_height + 8};
      place.control = {x + prompt_width + 4, y - height, field_width, height};
      const SuType kind = e.kind();
      if (!read_only &&
          (kind == SuType::kInteger || kind == SuType::kLong || kind == SuType::kReal)) {
        place.spin = {x + prompt_width + field_width + 6, y - height, (m.line_height + 8) / 2 + 3,
                      height};
      }
      break;
    }
    case ControlShape::kBanner:
      place.control = {x, ToY(e.top, m, pixels), field_width,
                       e.height > 0 ? ToY(e.height, m, pixels) : m.line_height};
      break;
    case ControlShape::kCheckBox:
      place.control = {x, y - 15, prompt_width + 30, 20};
      break;
    case ControlShape::kRadio: {
      const int width = std::max(widths.widest_option, prompt_width) + 30;
      const int top = ToY(e.top, m, pixels);
      place.prompt = {x, top, width, m.line_height + 1};
      place.control = {x, top + m.line_height + 1, width, (m.line_height + 2) * widths.options + 6};
      for (int k = 0; k < widths.options; ++k) {
        place.options.push_back(
            {5, k * (m.line_height + 5), widths.widest_option + 20, m.line_height + 2});
      }
      break;
    }
    case ControlShape::kComboBox:
      place.prompt = {x, y - m.text_height - 8, prompt_width, m.text_height + 8};
      place.control = {x + prompt_width + 4, y - m.text_height - 8,
                       std::max(field_width, widths.widest_option + 30), m.line_height + 8};
      place.list_height = (std::min(widths.options, 7) + 1) * (m.line_height + 2) + 6;
      break;
    case ControlShape::kButton: {
      // A tool button is an icon: 24 by 22 pixels unless the file says.
      const bool icon = e.kind() == SuType::kToolButton || e.kind() == SuType::kWhatIf;
      const int height = e.height > 0 ? ToY(e.height, m, pixels) : (icon ? 22 : m.line_height + 10);
      const int width = e.width > 0 ? ToX(e.width, m, pixels)
                        : icon      ? 24
                                    : std::max(widths.prompt + 2 * m.char_width, 10 * m.char_width);
      place.control = {x, y - height, width, height};
      break;
    }
    case ControlShape::kDisplay:
      place.control = {x, ToY(e.top, m, pixels), field_width,
                       e.height > 0 ? ToY(e.height, m, pixels) : 5 * m.line_height};
      break;
  }
  return place;
}

Rect AnchoredRect(const SugParameter& e, const Metrics& m, int client_width, int client_height,
                  const Rect& created) {
  const int left = ToX(e.left, m, false);
  const int right = ToX(e.right, m, false);
  const int top = ToY(e.top, m, false);
  const int bottom = ToY(e.bottom, m, false);
  const SuType kind = e.kind();
  if (kind == SuType::kTextViewer || kind == SuType::kBarChart) {
    return {left, top, std::max(0, client_width - left - right),
            std::max(0, client_height - top - bottom)};
  }
  Rect r = created;
  r.x = left;
  r.y = top;
  const bool across = kind != SuType::kMatrix || e.left_anchor != e.right_anchor;
  const bool down = kind != SuType::kMatrix || e.top_anchor != e.bottom_anchor;
  // An axis the layout gives no extent along keeps the created size.
  const int width =
      static_cast<int>(client_width * (e.right_anchor - e.left_anchor)) + (right - left);
  const int height =
      static_cast<int>(client_height * (e.bottom_anchor - e.top_anchor)) + (bottom - top);
  if (across && width > 0) r.width = width;
  if (down && height > 0) r.height = height;
  return r;
}

}  // namespace tavrin::gui
