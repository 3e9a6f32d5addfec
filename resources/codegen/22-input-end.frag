  $00Normalise($38, c, $31);
  memcpy($00Units, c, $32 * sizeof(double));
}
