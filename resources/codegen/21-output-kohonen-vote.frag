  $c06
  {
    int listed[$37];
    double others[$37];
    out[$10] = $00KohonenVote($00Units + $36, $00ClassLabels, $37, $12, $13, listed, others);
  }
