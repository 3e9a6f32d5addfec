
/* Layer 1's activations feed back into the input units where positive. */
static $00WIDE void $00Feedback(void)
{
  const double *w = $00Weights + $25;
  const double *h = $00Units + $24;
  double x;
  int u;
  for (u = 0; u < $21; ++u, w += $22) {
    x = $00Division(w, h, $22);
    if (x > 0.0) $00Units[u] = x;
  }
}
