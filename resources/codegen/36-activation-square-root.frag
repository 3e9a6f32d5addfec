  for (u = 0; u < $21; ++u) y[u] = y[u] > 0.0 ? sqrt(y[u]) : 0.0;
}
