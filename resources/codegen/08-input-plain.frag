  $c06
  c[$16] = ($00Usable(in[$11], $15) ? in[$11] : $00Substitutes[$17]) + 0.0;
