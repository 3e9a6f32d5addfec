  for (u = 0; u < $21; ++u) y[u] = $00Hyperbolic(y[u]);
}
