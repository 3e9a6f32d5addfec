
/* The classes of the units of the first layer after the inputs (0: none). */
$00KEEP const double $00ClassLabels[] = {$c03};

/* What a missing input value is coded as, one per input unit. */
$00KEEP const double $00Substitutes[] = {$c04};

static void $00CodeInputs(const double *in)
{
  double c[$31];
  (void)in;
  memset(c, 0, sizeof c);
