
/* Classes by confidence: the winner is the largest output, accepted at or
   above $08; every other output must be at or below $09. */
$00KEEP double $00ClassifyOneOfN(const double *y, int n)
{
  const int w = $00Winner(y, n, 1);
  int i;
  if (!(y[w] >= $08)) return $00MISSING;
  for (i = 0; i < n; ++i)
    if (i != w && !(y[i] <= $09)) return $00MISSING;
  return w + 1.0;
}

$00KEEP double $00ClassifyTwoState(double y)
{
  if (y >= $08) return 2.0;
  if (y < $09) return 1.0;
  return $00MISSING;
}
