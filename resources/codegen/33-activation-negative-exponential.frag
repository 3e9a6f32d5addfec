  for (u = 0; u < $21; ++u) y[u] = $00NegExponential(y[u]);
}
