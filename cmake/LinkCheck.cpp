// Linked with every object of one folder library and only the layers that
// library names: it builds exactly when the folder calls nothing above them.
int main() { return 0; }
