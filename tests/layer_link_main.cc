// An empty program that links one layer's library whole, with only the
// layers below it: it builds only when no code of that layer calls upward.
int main() { return 0; }
