
/* The output units, normalised, decoded into the output variables. */
static void $00Decode(double *out)
{
  double y[$34];
  (void)out;
  memset(y, 0, sizeof y);
  memcpy(y, $00Units + $33, $35 * sizeof(double));
  $00Normalise($39, y, $34);
  if ($40) memcpy($00Units + $33, y, $35 * sizeof(double));
