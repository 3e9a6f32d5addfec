#include "gui_header.h"

#include <array>
#include <charconv>
#include <string>

namespace tavrin::gui {
namespace {

// "%g" without the locale.
std::string Real(double value) {
  std::array<char, 64> buffer;
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, 6);
  return std::string(buffer.data(), r.ptr);
}

// A C string literal for the text, or NULL.
std::string Literal(const std::string& text, bool present) {
  if (!present) return "NULL";
  std::string literal = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      literal += '\\';
      literal += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      const char digits[] = "01234567";
      literal += '\\';
      literal += digits[(c >> 6) & 7];
      literal += digits[(c >> 3) & 7];
      literal += digits[c & 7];
    } else {
      literal += static_cast<char>(c);
    }
  }
  return literal + "\"";
}

}  // namespace

void WriteGuiHeader(const ElementTable& elements, const ParameterTable& parameters,
                    std::ostream& out) {
  out << "/* gui.h - Automatically generated header file */\n";
  out << "int sugNumberParameters=" << elements.size() << ";\n";
  out << "SugParameter sugDefaultParameters[] =\n{\n";
  for (int i = 0; i < elements.size(); ++i) {
    const SugParameter& e = elements[i];
    if (i > 0) out << ",\n";
    out << "  { .left = " << e.left << ", .right = " << e.right << ", .top = " << e.top
        << ", .bottom = " << e.bottom << ",\n";
    out << "    .left_anchor = " << Real(e.left_anchor)
        << ", .right_anchor = " << Real(e.right_anchor) << ", .top_anchor = " << Real(e.top_anchor)
        << ", .bottom_anchor = " << Real(e.bottom_anchor) << ",\n";
    out << "    .width = " << e.width << ", .prompt_width = " << e.prompt_width
        << ", .height = " << e.height << ",\n";
    out << "    .prompt = " << Literal(e.prompt, e.has_prompt) << ",\n";
    out << "    .parameter = " << parameters.IndexOf(e.parameter) << ",\n";
    out << "    .style = " << static_cast<int>(e.style) << ",\n";
    out << "    .menu = " << Literal(e.menu, e.has_menu) << ",\n";
    out << "    .window = " << Literal(e.window, e.has_window) << ",\n";
    out << "    .window_type = " << static_cast<int>(e.window_type) << ",\n";
    out << "    .tip = " << Literal(e.tip, !e.tip.empty()) << ",\n";
    out << "    .description = " << Literal(e.description, !e.description.empty()) << ",\n";
    out << "    .help_topic = " << e.help_topic << ", .increment = " << Real(e.increment)
        << ", .action_message = " << e.action_message << " }";
  }
  out << "\n  };\n";
}

void AddCompiledElements(const CompiledElement* table, int count, ParameterTable& parameters,
                         ElementTable& elements) {
  for (int i = 0; i < count; ++i) {
    const CompiledElement& c = table[i];
    SugParameter& e = elements.Add();
    e.left = c.left;
    e.right = c.right;
    e.top = c.top;
    e.bottom = c.bottom;
    e.left_anchor = c.left_anchor;
    e.right_anchor = c.right_anchor;
    e.top_anchor = c.top_anchor;
    e.bottom_anchor = c.bottom_anchor;
    e.width = c.width;
    e.prompt_width = c.prompt_width;
    e.height = c.height;
    if (c.prompt) {
      e.prompt = c.prompt;
      e.has_prompt = true;
      e.mnemonic = MnemonicOf(e.prompt);
    }
    e.parameter = parameters.At(c.parameter);
    e.style = (c.style >= 0 && c.style <= 5) ? static_cast<ElementStyle>(c.style)
                                             : ElementStyle::kDefault;
    if (c.menu) {
      e.menu = c.menu;
      e.has_menu = true;
    }
    if (c.window) {
      e.window = c.window;
      e.has_window = true;
    }
    e.window_type = (c.window_type >= 0 && c.window_type <= 2)
                        ? static_cast<WindowType>(c.window_type)
                        : WindowType::kMdiChild;
    if (c.tip) e.tip = c.tip;
    if (c.description) e.description = c.description;
    e.help_topic = c.help_topic;
    e.increment = c.increment;
    e.action_message = c.action_message;
  }
}

}  // namespace tavrin::gui
