  if (!$40) memcpy($00Units + $33, y, $35 * sizeof(double));
}

void $00Run(const double *inputs, double *outputs)
{
  $00CodeInputs(inputs);
$c05  $00Decode(outputs);
}
