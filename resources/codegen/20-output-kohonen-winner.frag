  $c06
  out[$10] = $00KohonenWinner($00Units + $36, $00ClassLabels, $37, $08);
