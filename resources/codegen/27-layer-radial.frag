
/* Layer $20: $21 units, each its squared distance from the $22 before times its threshold. */
static $00WIDE void $00Layer$20(void)
{
  const double *w = $00Weights + $25;
  const double *t = $00Thresholds + $23;
  const double *s = $00Units + $24;
  double *y = $00Units + $23;
  int u;
  for (u = 0; u < $21; ++u, w += $22) y[u] = t[u] * $00Distance(w, s, $22);
