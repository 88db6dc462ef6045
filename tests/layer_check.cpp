// Linked with one layer's whole library and nothing above it: the link
// fails when that layer calls into a layer above.
int main() { return 0; }
