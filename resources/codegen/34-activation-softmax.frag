  $00Softmax(y, $21);
}
