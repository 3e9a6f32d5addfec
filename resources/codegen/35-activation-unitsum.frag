  $00DivideBySum(y, $21);
}
