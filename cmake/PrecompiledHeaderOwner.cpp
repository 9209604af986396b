// Owns the precompiled header that the test programs of one kind share (QuorilPrecompiledHeaders.cmake).
int main() {}
