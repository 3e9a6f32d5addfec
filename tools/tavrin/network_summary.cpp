#include "network_summary.h"

#include <string>

#include "common/real_text.h"

namespace tavrin::tool {
namespace {

std::string Real(double value) {
  return FormatRealOrMissing(value);
}

std::string Quoted(const std::string& name) {
  return name.empty() ? std::string("(no name)") : "\"" + name + "\"";
}

std::string ConversionText(double code, bool output) {
  return IsConversionCode(code, output)
             ? std::string(ConversionName(static_cast<ConversionFunction>(code)))
             : "code " + Real(code);
}

std::string MissingName(double code) {
  return IsMissingFunctionCode(code)
             ? std::string(MissingFunctionName(static_cast<MissingFunction>(code)))
             : "code " + Real(code);
}

std::string NormalisationText(std::int32_t code, bool output) {
  return IsNormalisationCode(code, output)
             ? std::string(NormalisationName(static_cast<Normalisation>(code)))
             : "code " + std::to_string(code);
}

void DescribeLayers(const Network& net, std::ostream& out) {
  out << "Layers: " << net.no_layers() << "\n";
  for (int l = 0; l < net.no_layers(); ++l) {
    const Layer& layer = net.layers[l];
    int named = 0;
    int with_class = 0;
    for (int u = 0; u < layer.no_units; ++u) {
      named += layer.unit_names[u].empty() ? 0 : 1;
      with_class += layer.classes[u] != 0.0 ? 1 : 0;
    }
    out << "  layer " << l + 1 << ": " << layer.no_units
        << (layer.no_units == 1 ? " unit" : " units") << ", width " << layer.width
        << ", activation " << ActivationName(layer.act_fn) << ", PSP " << PspName(layer.psp_fn);
    if (named > 0) out << ", " << named << " named";
    if (with_class > 0) out << ", " << with_class << " with a class";
    out << "\n";
    for (int j = 0; j < net.no_layers(); ++j) {
      const Connection& block = layer.connections[j];
      if (block.empty()) continue;
      out << "    " << (block.fixed ? "fixed weights" : "weights") << " from layer " << j + 1
          << ": " << block.no_to << " x " << block.no_from << "\n";
    }
  }
}

void DescribeVariables(const VariableCoding& c, std::ostream& out) {
  out << "Variables: " << c.no_inputs << (c.no_inputs == 1 ? " input, " : " inputs, ")
      << c.no_outputs << (c.no_outputs == 1 ? " output" : " outputs") << " (coded into "
      << c.no_normed_inputs << " input and " << c.no_normed_outputs << " output units)\n";
  for (int v = 0; v < c.no_variables(); ++v) {
    const bool output = c.is_output(v);
    out << "  " << (output ? "output " : "input ") << (output ? v - c.no_inputs + 1 : v + 1) << " "
        << Quoted(c.variable_names[v]) << ": " << ConversionText(c.conversion[v], output)
        << ", missing " << MissingName(c.missing_fn[v]) << ", min/mean " << Real(c.min_mean[v])
        << ", max/SD " << Real(c.max_sd[v]) << ", shift " << Real(c.shift[v]) << ", scale "
        << Real(c.scale[v]) << "\n";
    if (c.is_nominal(v)) {
      out << "    nominal values:";
      for (const std::string& name : c.nominals[v]) out << " " << Quoted(name);
      out << "\n";
    }
  }
}

void DescribeCoding(const VariableCoding& c, std::ostream& out) {
  out << "Coding: input normalisation " << NormalisationText(c.input_normalisation, false)
      << ", output normalisation " << NormalisationText(c.output_normalisation, true) << ", steps "
      << c.steps << ", lookahead " << c.lookahead << "\n";
  out << "Classification: by " << (c.classify_by != 0 ? "confidence" : "error") << ", accept "
      << Real(c.accept) << ", reject " << Real(c.reject) << "\n";
  out << "Substitutes:";
  if (c.substitutes.empty()) out << " none";
  for (double s : c.substitutes) out << " " << Real(s);
  out << "\n";
}

}  // namespace

void DescribeNetwork(const Network& net, std::ostream& out) {
  out << "Kind: " << NetworkTypeName(net.type) << "\n";
  out << "Error function: " << ErrorName(net.error_fn) << "\n";
  DescribeLayers(net, out);
  DescribeVariables(net.coding, out);
  DescribeCoding(net.coding, out);
}

}  // namespace tavrin::tool
