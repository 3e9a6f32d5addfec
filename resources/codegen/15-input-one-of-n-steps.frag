  $c06
  {
    int s, j, hot;
    for (s = 0; s < $07; ++s) {
      hot = $00NominalIndex(in[$11 + s], $15, $14);
      for (j = 0; j < $14; ++j)
        c[$16 + s * $14 + j] =
            hot < 0 ? ($19 - $18) * $00Substitutes[$17 + j] + $18 : (j == hot ? $19 : $18);
    }
  }
