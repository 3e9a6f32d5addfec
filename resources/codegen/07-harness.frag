
/* Test harness: reads one case per line from standard input (the values
   separated by commas or blanks, ? for a missing value), runs the network
   and prints its outputs ("%.17g", separated by single blanks). With the
   argument 1 it prints the output units' activations instead. */

static int $00IsSeparator(char c)
{
  return c == ',' || c == ' ' || c == '\t' || c == '\r';
}

int main(int argc, char **argv)
{
  static double in[$01 + 1];
  static double out[$02 + 1];
  const int units = argc > 1 && strcmp(argv[1], "1") == 0;
  size_t size = 256, length;
  char *line = (char *)malloc(size), *p, *end, *stop, kept;
  long number = 0;
  int ch, count, i;
  double v;
  if (line == NULL) return 1;
  for (;;) {
    length = 0;
    while ((ch = getchar()) != EOF && ch != '\n') {
      if (length + 1 >= size) {
        char *bigger = (char *)realloc(line, size * 2);
        if (bigger == NULL) {
          free(line);
          fprintf(stderr, "out of memory\n");
          return 1;
        }
        line = bigger;
        size *= 2;
      }
      line[length++] = (char)ch;
    }
    if (ch == EOF && length == 0) break;
    line[length] = '\0';
    ++number;
    count = 0;
    for (p = line;;) {
      while ($00IsSeparator(*p)) ++p;
      if (*p == '\0') break;
      for (end = p; *end != '\0' && !$00IsSeparator(*end); ++end) {
      }
      kept = *end;
      *end = '\0';
      if (strcmp(p, "?") == 0) {
        v = $00MISSING;
      } else {
        v = strtod(p, &stop);
        if (*stop != '\0') {
          fprintf(stderr, "line %ld: not a number: %s\n", number, p);
          free(line);
          return 1;
        }
      }
      if (count < $01) in[count] = v;
      ++count;
      *end = kept;
      p = end;
    }
    if (count == 0) continue;
    if (count != $01) {
      fprintf(stderr, "line %ld: %d values, expected %d\n", number, count, $01);
      free(line);
      return 1;
    }
    $00Run(in, out);
    if (units) {
      for (i = 0; i < $04; ++i) printf(i == 0 ? "%.17g" : " %.17g", $00Units[$33 + i]);
    } else {
      for (i = 0; i < $02; ++i) printf(i == 0 ? "%.17g" : " %.17g", out[i]);
    }
    putchar('\n');
  }
  free(line);
  return 0;
}
