  $c06
  out[$10] = $00ClassifyOneOfN(y + $11, $14);
