#include <cstdio>

int main() {
    std::printf("Quoril %s\n", QUORIL_VERSION);
    return 0;
}
