/* A tour of libnrx32 from C: build three kinds of network, run them on a few
 * input vectors (plain numbers, a nominal value number, a missing value) and
 * show what a refused call leaves in the error text; then build a data set,
 * calculate a network's scale factors from it, run the network on its cases
 * and train it, watching the training error fall.
 *
 * Its output is the same on every run: the engine draws the random starting
 * weights from its own generator, which starts from a fixed state. */

#include <stdio.h>
#include <stdlib.h>

#include "nrx32.h"

/* Stops the example with the library's error text when a call has failed. */
static void Require(int succeeded, const char* what) {
  char error[NRX_ERROR_BUFFER_SIZE];
  if (succeeded) return;
  NRXErrorMessage(error);
  fprintf(stderr, "%s failed: %s\n", what, error);
  exit(1);
}

static void PrintValues(const char* label, const double* values, int count) {
  int i;
  printf("  %-28s", label);
  for (i = 0; i < count; ++i) {
    if (values[i] == NRXMissingValue()) {
      printf(" %9s", "missing");
    } else {
      printf(" %9.4f", values[i]);
    }
  }
  printf("\n");
}

/* y = 2 a - b - 0.5, weights set by hand. */
static void LinearNetwork(void) {
  const int32_t units[2] = {2, 1};
  const int32_t widths[2] = {1, 1};
  const double cases[3][2] = {{3.0, 1.0}, {0.0, 0.0}, {1.0, 0.0}};
  double inputs[2];
  double output;
  int c;
  int32_t net = NRXCreateNetwork(NRX_DESIGN_LINEAR, 2, 1, 2, 0, 1, NULL, NULL, units, widths);
  Require(net >= 0, "create linear network");
  Require(NRXSetNetworkWeight(net, 0, 0, 1, 0, 2.0), "set weight");
  Require(NRXSetNetworkWeight(net, 0, 1, 1, 0, -1.0), "set weight");
  Require(NRXSetNetworkUnitThreshold(net, 1, 0, 0.5), "set threshold");

  printf("Linear network, y = 2 a - b - 0.5 (a missing b counts as 0):\n");
  for (c = 0; c < 3; ++c) {
    char label[64];
    inputs[0] = cases[c][0];
    inputs[1] = c == 2 ? NRXMissingValue() : cases[c][1];
    Require(NRXRunNetwork(net, NRX_OUTPUT_DECODED, inputs, &output), "run");
    if (c == 2) {
      sprintf(label, "a = %g, b missing", inputs[0]);
    } else {
      sprintf(label, "a = %g, b = %g", inputs[0], inputs[1]);
    }
    PrintValues(label, &output, 1);
  }
  NRXFreeNetwork(net);
}

/* A Kohonen layer with three units placed by hand, each standing for a class. */
static void KohonenNetwork(void) {
  const int32_t units[2] = {2, 3};
  const int32_t widths[2] = {1, 3};
  const int32_t conversions[3] = {0, 0, 6}; /* the output is the winner's class */
  const double centres[3][2] = {{0.0, 0.0}, {1.0, 1.0}, {3.0, 0.0}};
  const double points[3][2] = {{1.0, 0.8}, {2.9, 0.1}, {10.0, 10.0}};
  double result[3];
  int u, p;
  int32_t net =
      NRXCreateNetwork(NRX_DESIGN_KOHONEN, 2, 1, 2, 0, 1, NULL, conversions, units, widths);
  Require(net >= 0, "create Kohonen network");
  for (u = 0; u < 3; ++u) {
    Require(NRXSetNetworkWeight(net, 0, 0, 1, u, centres[u][0]), "set weight");
    Require(NRXSetNetworkWeight(net, 0, 1, 1, u, centres[u][1]), "set weight");
    Require(NRXSetNetworkUnitClass(net, 1, u, u + 1), "set class");
  }
  /* A point further than 0.5 from every centre gets no class. */
  Require(NRXSetNetworkAccept(net, 0.5), "set accept");

  printf("Kohonen network, centres (0,0) (1,1) (3,0) with classes 1 2 3:\n");
  for (p = 0; p < 3; ++p) {
    char label[64];
    Require(NRXRunNetwork(net, NRX_OUTPUT_ACTIVATIONS, points[p], result), "run");
    sprintf(label, "(%g, %g) distances", points[p][0], points[p][1]);
    PrintValues(label, result, 3);
    Require(NRXRunNetwork(net, NRX_OUTPUT_DECODED, points[p], result), "run");
    PrintValues("  class", result, 1);
  }
  NRXFreeNetwork(net);
}

/* A multilayer perceptron with a numeric and a nominal input (One-of-N over
 * three values) and a nominal output of two values, still with the random
 * weights it was built with: untrained, but enough to show the coding. */
static void Perceptron(void) {
  const int32_t units[3] = {1, 4, 1};
  const int32_t widths[3] = {1, 1, 1};
  const int32_t nominals[3] = {0, 3, 2};
  const int32_t conversions[3] = {0, 1, 1};
  double cases[4][2] = {{0.0, 1.0}, {0.5, 2.0}, {1.0, 0.0}, {0.0, 3.0}};
  double activations[2];
  double decoded;
  int32_t input_units = 0;
  int c;
  int32_t net =
      NRXCreateNetwork(NRX_DESIGN_MLP, 2, 1, 3, 0, 1, nominals, conversions, units, widths);
  Require(net >= 0, "create perceptron");
  Require(NRXGetNetworkLayerNoUnits(net, 0, &input_units), "layer size");
  /* A class is given when its unit reaches 0.75 and the other stays <= 0.52. */
  Require(NRXSetNetworkAccept(net, 0.75), "set accept");
  Require(NRXSetNetworkReject(net, 0.52), "set reject");
  cases[2][1] = NRXMissingValue();
  cases[3][0] = NRXMissingValue();

  printf("Perceptron (random weights), inputs size and colour (value 1 to 3), %d input units:\n",
         (int)input_units);
  for (c = 0; c < 4; ++c) {
    char label[64];
    Require(NRXRunNetwork(net, NRX_OUTPUT_ACTIVATIONS, cases[c], activations), "run");
    Require(NRXRunNetwork(net, NRX_OUTPUT_DECODED, cases[c], &decoded), "run");
    if (c == 2) {
      sprintf(label, "size %g, colour missing", cases[c][0]);
    } else if (c == 3) {
      sprintf(label, "size missing, colour %g", cases[c][1]);
    } else {
      sprintf(label, "size %g, colour %g", cases[c][0], cases[c][1]);
    }
    PrintValues(label, activations, 2);
    PrintValues("  class", &decoded, 1);
  }

  printf("Deliberate mistakes:\n");
  if (NRXSetNetworkLayerAct(net, 1, 42) == 0) {
    char error[NRX_ERROR_BUFFER_SIZE];
    NRXErrorMessage(error);
    printf("  activation code 42: \"%s\"\n", error);
  }
  if (NRXRunNetwork(64, NRX_OUTPUT_DECODED, cases[0], &decoded) == 0) {
    char error[NRX_ERROR_BUFFER_SIZE];
    NRXErrorMessage(error);
    printf("  network handle 64:  \"%s\"\n", error);
  }
  NRXFreeNetwork(net);
}

/* The four cases of exclusive or, on inputs -1 and +1, with named variables
 * and cases. */
static int32_t XorDataSet(void) {
  const double cases[4][3] = {{-1, -1, 0}, {-1, 1, 1}, {1, -1, 1}, {1, 1, 0}};
  const char* names[3] = {"a", "b", "a xor b"};
  char case_name[64];
  int32_t c, v;
  int32_t ds = NRXCreateDataSet(2, 1); /* one case to start with */
  Require(ds >= 0, "create data set");
  Require(NRXAddDataCases(ds, -1, 3), "add cases");
  for (v = 0; v < 3; ++v) Require(NRXSetDataVariableName(ds, v, names[v]), "name variable");
  for (c = 0; c < 4; ++c) {
    Require(NRXSetDataCase(ds, c, cases[c]), "set case");
    sprintf(case_name, "%+.0f xor %+.0f", cases[c][0], cases[c][1]);
    Require(NRXSetDataCaseName(ds, c, case_name), "name case");
  }
  return ds;
}

/* Runs the network on every case of the data set and shows its outputs. */
static void RunCases(int32_t net, int32_t ds) {
  char name[NRX_NAME_BUFFER_SIZE];
  double target, output;
  int32_t cases = 0;
  int32_t c;
  Require(NRXGetDataNoCases(ds, &cases), "count cases");
  for (c = 0; c < cases; ++c) {
    Require(NRXGetDataCaseName(ds, c, name), "case name");
    Require(NRXGetDataEntry(ds, c, 2, &target), "target");
    Require(NRXRunNetworkFromDataSet(net, ds, c, NRX_OUTPUT_DECODED, &output), "run case");
    printf("  %-28s target %g, network %7.4f\n", name, target, output);
  }
}

/* A perceptron of two inputs, three logistic hidden units and one linear
 * output learns exclusive or by back propagation, 100 epochs per call. */
static void TrainExclusiveOr(void) {
  const int32_t units[3] = {2, 3, 1};
  const int32_t widths[3] = {1, 1, 1};
  char name[NRX_NAME_BUFFER_SIZE];
  double scale, shift, training_error, verification_error;
  int32_t v, call;
  int32_t ds = XorDataSet();
  int32_t net = NRXCreateNetwork(NRX_DESIGN_MLP, 2, 1, 3, 0, 1, NULL, NULL, units, widths);
  Require(net >= 0, "create perceptron");

  printf("Exclusive or, scale factors from the data set (Minimax onto 0 .. 1):\n");
  Require(NRXCalculateScaleFactors(net, ds), "scale factors");
  for (v = 0; v < 3; ++v) {
    Require(NRXGetDataVariableName(ds, v, name), "variable name");
    Require(NRXGetNetworkScaleFactor(net, v, &scale), "scale");
    Require(NRXGetNetworkShiftFactor(net, v, &shift), "shift");
    printf("  %-28s scale %g, shift %g\n", name, scale, shift);
  }
  printf("Before training (random weights):\n");
  RunCases(net, ds);

  printf("Training by back propagation (rate 0.05, momentum 0.5, in case order):\n");
  for (call = 1; call <= 15; ++call) {
    /* Retain best stays off: on the plateau at the start, the best network
     * of 100 epochs would be the one the call began with, and each call
     * would start over from it. With it off each call continues from the
     * weights the last one left. */
    Require(NRXBackPropagation(net, ds, 100, 0, 0, 0, 0.05, 0.05, 0.5, 0.5, 0.0, &training_error,
                               &verification_error),
            "back propagation");
    printf("  after %4d epochs: training error %.6f\n", call * 100, training_error);
  }
  printf("After training:\n");
  RunCases(net, ds);
  NRXFreeNetwork(net);
  NRXFreeDataSet(ds);
}

/* Loads the iris table from delimited text, saves it in the other three
 * formats into `out_dir` and reads each back. */
static void SampleDataFiles(const char* data_dir, const char* out_dir) {
  static const char* const kNames[4] = {"host data file", "binary data set", "delimited text",
                                        "pattern file"};
  static const char* const kFiles[4] = {"iris.kvm", "iris.bin", "iris.csv", "iris.pat"};
  char path[1024];
  int32_t ds, cases, variables, format;
  printf("The iris table, from delimited text into the other formats:\n");
  snprintf(path, sizeof path, "%s/iris.csv", data_dir);
  ds = NRXLoadDataSet(path, 2, 0, 1, ',', NULL);
  Require(ds >= 0, "NRXLoadDataSet");
  Require(NRXGetDataNoCases(ds, &cases) && NRXGetDataNoVariables(ds, &variables), "counts");
  printf("  read %s: %d cases, %d variables\n", "iris.csv", (int)cases, (int)variables);
  for (format = 0; format < 4; ++format) {
    int32_t back, back_cases;
    char nominal[NRX_NAME_BUFFER_SIZE];
    if (format == 2) continue;
    snprintf(path, sizeof path, "%s/%s", out_dir, kFiles[format]);
    Require(NRXSaveDataSet(ds, path, format, 0, 1, 0, ','), "NRXSaveDataSet");
    back = NRXLoadDataSet(path, format, 0, 1, ',', NULL);
    Require(back >= 0, "NRXLoadDataSet");
    Require(NRXGetDataNoCases(back, &back_cases), "NRXGetDataNoCases");
    Require(NRXGetDataNominal(back, 4, 2, nominal), "NRXGetDataNominal");
    printf("  %-16s %-9s %d cases back, third species \"%s\"\n", kNames[format], kFiles[format],
           (int)back_cases, nominal);
    NRXFreeDataSet(back);
  }
  NRXFreeDataSet(ds);
}

/* Arguments: the folder of the sample data sets and a folder to write into
 * (by default the ones the build was configured with). */
int main(int argc, char** argv) {
  const char* data_dir = argc > 1 ? argv[1] : TAVRIN_SAMPLE_DATA_DIR;
  const char* out_dir = argc > 2 ? argv[2] : TAVRIN_EXAMPLE_OUTPUT_DIR;
  LinearNetwork();
  KohonenNetwork();
  Perceptron();
  TrainExclusiveOr();
  SampleDataFiles(data_dir, out_dir);
  return 0;
}
