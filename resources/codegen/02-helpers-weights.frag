
#if defined(__GNUC__)
#define $00KEEP static __attribute__((unused))
#define $00HOT static inline __attribute__((always_inline, unused))
#else
#define $00KEEP static
#define $00HOT static
#endif

/* The layers are built for several instruction sets where the compiler can,
   the widest the processor has picked when the program starts. */
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define $00WIDE __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define $00WIDE
#endif

#define $00MISSING $30
#define $00INPUTS $01
#define $00OUTPUTS $02

void $00Run(const double *inputs, double *outputs);

/* Sums in eight interleaved partial sums, added in a fixed order: term i
   goes to sum i mod 8. */
#define $00SUM8(TERM)                                                         \
  double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0, d;  \
  int i = 0;                                                                \
  for (; i + 8 <= n; i += 8) {                                              \
    TERM(s0, i); TERM(s1, i + 1); TERM(s2, i + 2); TERM(s3, i + 3);         \
    TERM(s4, i + 4); TERM(s5, i + 5); TERM(s6, i + 6); TERM(s7, i + 7);     \
  }                                                                         \
  if (i < n) TERM(s0, i);                                                   \
  if (i + 1 < n) TERM(s1, i + 1);                                           \
  if (i + 2 < n) TERM(s2, i + 2);                                           \
  if (i + 3 < n) TERM(s3, i + 3);                                           \
  if (i + 4 < n) TERM(s4, i + 4);                                           \
  if (i + 5 < n) TERM(s5, i + 5);                                           \
  if (i + 6 < n) TERM(s6, i + 6);                                           \
  (void)d;                                                                  \
  return ((s0 + s4) + (s1 + s5)) + ((s2 + s6) + (s3 + s7))
#define $00PRODUCT(S, J) S += w[J] * a[J]
#define $00SQUARE(S, J) (d = w[J] - a[J], S += d * d)

$00HOT double $00Dot(const double *w, const double *a, int n)
{
  $00SUM8($00PRODUCT);
}

$00HOT double $00Distance(const double *w, const double *a, int n)
{
  $00SUM8($00SQUARE);
}

/* A weight of 1 takes the source's value, -1 divides by a nonzero source. */
$00KEEP double $00Division(const double *w, const double *a, int n)
{
  double value = 0.0;
  int i;
  for (i = 0; i < n; ++i) {
    if (w[i] == 1.0)
      value = a[i];
    else if (w[i] == -1.0 && a[i] != 0.0)
      value /= a[i];
  }
  return value;
}

/* e^x for |x| <= 709: x = n ln2 + r, e^r by its series to r^13, 2^n put
   straight into the exponent bits. */
$00HOT double $00Exp(double x)
{
  const double shifter = 6755399441055744.0;
  const double t = x * 1.4426950408889634 + shifter;
  const double n = t - shifter;
  const double r = (x - n * 0.693147180369123816490) - n * 1.90821492927058770002e-10;
  double p = 1.0 / 6227020800.0;
  uint64_t scale, bits;
  p = p * r + 1.0 / 479001600.0;
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  memcpy(&scale, &t, sizeof scale);
  memcpy(&bits, &p, sizeof bits);
  bits += scale << 52;
  memcpy(&p, &bits, sizeof p);
  return p;
}

$00HOT double $00Logistic(double x)
{
  const double clamped = x < -100.0 ? -100.0 : (100.0 < x ? 100.0 : x);
  double y = 1.0 / (1.0 + $00Exp(-clamped));
  y = x > 100.0 ? 1.0 : y;
  y = x < -100.0 ? 0.0 : y;
  return y;
}

$00KEEP double $00Hyperbolic(double x)
{
  const double e = exp(-x);
  if (e == HUGE_VAL) return -1.0;
  return (1.0 - e) / (1.0 + e);
}

$00KEEP double $00NegExponential(double x)
{
  double e;
  if (x > 100.0) return 0.0;
  e = exp(-x);
  return e == HUGE_VAL ? DBL_MAX : e;
}

$00KEEP void $00DivideBySum(double *y, int n)
{
  double sum = 0.0;
  int i;
  for (i = 0; i < n; ++i) sum += y[i];
  if (sum == 0.0) return;
  for (i = 0; i < n; ++i) y[i] /= sum;
}

/* Where e^x or the sum would overflow, e^(x - largest) gives the same
   quotients without infinities. */
$00KEEP void $00Softmax(double *y, int n)
{
  double largest = -HUGE_VAL, sum = 0.0;
  int i;
  for (i = 0; i < n; ++i)
    if (largest < y[i]) largest = y[i];
  if (largest <= 709.0) {
    for (i = 0; i < n; ++i) sum += exp(y[i]);
    if (sum - sum == 0.0) {
      for (i = 0; i < n; ++i) y[i] = exp(y[i]);
      if (sum != 0.0)
        for (i = 0; i < n; ++i) y[i] /= sum;
      return;
    }
  }
  sum = 0.0;
  for (i = 0; i < n; ++i) {
    y[i] = exp(y[i] - largest);
    sum += y[i];
  }
  for (i = 0; i < n; ++i) y[i] /= sum;
}

/* The first unit with the largest (or smallest) value. */
$00KEEP int $00Winner(const double *y, int n, int largest)
{
  int w = 0, i;
  for (i = 1; i < n; ++i)
    if (largest ? y[i] > y[w] : y[i] < y[w]) w = i;
  return w;
}

/* 1 unit length, 2 unit sum, 3 maximum, 4 minimum, 5 step; 0 none. */
$00KEEP void $00Normalise(int function, double *u, int n)
{
  double s = 0.0, f;
  int i, w;
  switch (function) {
    case 1:
      for (i = 0; i < n; ++i) s += u[i] * u[i];
      if (s > 0.0) {
        f = 1.0 / sqrt(s);
        for (i = 0; i < n; ++i) u[i] *= f;
      }
      break;
    case 2:
      for (i = 0; i < n; ++i) s += u[i];
      if (s >= 1e-35 || s <= -1e-35) {
        f = 1.0 / s;
        for (i = 0; i < n; ++i) u[i] *= f;
      }
      break;
    case 3:
    case 4:
      if (n < 1) break;
      w = $00Winner(u, n, function == 3);
      for (i = 0; i < n; ++i) u[i] = i == w ? 1.0 : 0.0;
      break;
    case 5:
      for (i = 0; i < n; ++i) u[i] = u[i] < 0.0 ? 0.0 : 1.0;
      break;
    default:
      break;
  }
}

/* The unit a value number 1 .. min(k, n) selects, or -1. */
$00KEEP int $00NominalIndex(double x, int k, int n)
{
  if (x == $00MISSING || !(x >= 1.0) || x > k || x > n) return -1;
  if (x != floor(x)) return -1;
  return (int)x - 1;
}

/* Whether a raw value is coded as it is (else its substitute is): not
   missing, a number, and for a nominal variable one of its value numbers. */
$00KEEP int $00Usable(double x, int k)
{
  if (x == $00MISSING || x != x) return 0;
  return k == 0 || $00NominalIndex(x, k, k) >= 0;
}

/* A value number carried through the linear map, accepted only when it lies
   within h of one of 1 .. k. */
$00KEEP double $00NominalLinear(double y, double scale, double shift, int k, double accept)
{
  const double u = (y - shift) / scale;
  const double h = (accept < 0.0 || accept > 0.5) ? 0.5 : accept;
  double value;
  if (!(1.0 - h <= u && u <= k + h)) return $00MISSING;
  value = trunc(u + h);
  if (trunc(u - h) + 1.0 != value) return $00MISSING;
  if (value < 1.0 || value > k) return $00MISSING;
  return value;
}

/* The class of the nearest unit (smallest activation) of the radial layer. */
$00KEEP double $00KohonenWinner(const double *a, const double *classes, int n, double accept)
{
  int w;
  double c;
  if (n < 1) return $00MISSING;
  w = $00Winner(a, n, 0);
  if (a[w] > accept) return $00MISSING;
  c = trunc(classes[w]);
  return c == 0.0 ? $00MISSING : c;
}

/* The class at least m of the k nearest units vote for, unless tied:
   classes 0, 1 and missing vote for class 1. */
$00KEEP double $00KohonenVote(const double *a, const double *classes, int n, double scale,
                                double shift, int *listed, double *others)
{
  double k = trunc(scale), m = trunc(shift), best = 1.0, c = 2.0, v;
  int kk, mm, count = 0, u, i, j, largest, ones = 0, no_others = 0, best_count, total, tie = 0;
  if (n < 1 || !(k >= 1.0)) return $00MISSING;
  if (k > n) k = n;
  if (m > k) m = k;
  if (!(m >= -1.0)) m = -1.0;
  kk = (int)k;
  mm = (int)m;
  for (u = 0; u < n; ++u) {
    if (count < kk) {
      listed[count++] = u;
      continue;
    }
    largest = 0;
    for (i = 1; i < count; ++i)
      if (a[listed[i]] > a[listed[largest]]) largest = i;
    if (a[u] < a[listed[largest]]) listed[largest] = u;
  }
  for (i = 0; i < count; ++i) {
    v = classes[listed[i]];
    if (v == 0.0 || v == 1.0 || v == $00MISSING) {
      ++ones;
    } else if (trunc(v) >= 2.0) {
      v = trunc(v);
      for (j = no_others; j > 0 && others[j - 1] > v; --j) others[j] = others[j - 1];
      others[j] = v;
      ++no_others;
    }
  }
  best_count = ones;
  total = ones;
  while (kk > total + best_count) {
    for (j = 0; j < no_others && others[j] < c; ++j) {
    }
    if (j == no_others || others[j] > c) {
      if (best_count == 0) tie = 1;
      if (j == no_others) break;
      c = others[j];
    }
    for (count = 0; j < no_others && others[j] == c; ++j) ++count;
    total += count;
    if (count > best_count) {
      best = c;
      best_count = count;
      tie = 0;
    } else if (count == best_count) {
      tie = 1;
    }
    c += 1.0;
  }
  return (!tie && best_count >= mm) ? best : $00MISSING;
}

/* The units' activations, layer by layer. */
static double $00Units[$05];

/* Weights: for each layer, each unit's row of weights from the layer before
   (the input layer's row: from layer 1, fed back). */
$00KEEP const double $00Weights[] = {$c01};
