  $c06
  {
    const int hot = $00NominalIndex(in[$11], $15, $14);
    int j;
    for (j = 0; j < $14; ++j)
      c[$16 + j] = hot < 0 ? ($19 - $18) * $00Substitutes[$17 + j] + $18 : (j == hot ? $19 : $18);
  }
