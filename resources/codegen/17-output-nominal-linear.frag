  $c06
  out[$10] = $00NominalLinear(y[$11], $12, $13, $15, $08);
