  $c06
  out[$10] = $00ClassifyTwoState(y[$11]);
