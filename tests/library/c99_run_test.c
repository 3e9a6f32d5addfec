/* Uses nrx32.h from a C99 program: start the library, create a network, set
 * its weights, run it, and read a refusal. Exits 0 when every check holds. */

#include <stdio.h>
#include <string.h>

#include "nrx32.h"

static int failures = 0;

#define CHECK(condition)                                                            \
  do {                                                                              \
    if (!(condition)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                                   \
    }                                                                               \
  } while (0)

int main(void) {
  const int32_t units[2] = {2, 1};
  const int32_t widths[2] = {1, 1};
  double inputs[2];
  double outputs[2] = {0.0, 0.0};
  char error[NRX_ERROR_BUFFER_SIZE];
  int32_t layers = 0;
  int32_t net;

  /* The first call starts the library: no failure yet, so no text. */
  CHECK(NRXErrorMessage(error) == 1 && error[0] == '\0');

  /* A linear network y = 2 a - b - 0.5. */
  net = NRXCreateNetwork(NRX_DESIGN_LINEAR, 2, 1, 2, 0, 1, NULL, NULL, units, widths);
  CHECK(net == 0);
  CHECK(NRXGetNetworkNoLayers(net, &layers) == 1 && layers == 2);
  CHECK(NRXSetNetworkWeight(net, 0, 0, 1, 0, 2.0) == 1);
  CHECK(NRXSetNetworkWeight(net, 0, 1, 1, 0, -1.0) == 1);
  CHECK(NRXSetNetworkUnitThreshold(net, 1, 0, 0.5) == 1);

  inputs[0] = 3.0;
  inputs[1] = 1.0;
  CHECK(NRXRunNetwork(net, NRX_OUTPUT_DECODED, inputs, outputs) == 1);
  CHECK(outputs[0] == 4.5); /* 6 - 1 - 0.5 */
  CHECK(_NRXCRunNetwork(net, NRX_OUTPUT_WINNER_WEIGHTS, inputs, outputs) == 1);
  CHECK(outputs[0] == 2.0 && outputs[1] == -1.0);

  /* A missing second input takes its substitute, 0: 6 - 0.5. */
  inputs[1] = NRXMissingValue();
  CHECK(NRXRunNetwork(net, NRX_OUTPUT_DECODED, inputs, outputs) == 1);
  CHECK(outputs[0] == 5.5);

  CHECK(NRXRunNetwork(net, 9, inputs, outputs) == 0);
  CHECK(NRXErrorMessage(error) == 1);
  CHECK(strcmp(error, "Output type out of range") == 0);

  CHECK(NRXFreeNetwork(net) == 1);
  CHECK(_NRXCFreeNetwork(net) == 0);
  CHECK(_NRXCErrorMessage(error) == 1);
  CHECK(strcmp(error, "No network loaded with this index") == 0);

  if (failures == 0) printf("c99 use of nrx32: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
