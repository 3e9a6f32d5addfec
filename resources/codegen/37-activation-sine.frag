  for (u = 0; u < $21; ++u) y[u] = sin(y[u]);
}
