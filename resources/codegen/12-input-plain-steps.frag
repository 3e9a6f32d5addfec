  $c06
  {
    int s;
    for (s = 0; s < $07; ++s)
      c[$16 + s] = ($00Usable(in[$11 + s], $15) ? in[$11 + s] : $00Substitutes[$17]) + 0.0;
  }
