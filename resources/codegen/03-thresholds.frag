
/* Thresholds of every unit, layer by layer. */
$00KEEP const double $00Thresholds[] = {$c02};
