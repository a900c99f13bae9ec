// Placeholder entry point; the host's modes are built in their own change.
int wmain() { return 0; }
