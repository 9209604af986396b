#include "foundation/SystemRandomNumberGenerator.h"

#include "foundation/Fatal.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/random.h>

namespace foundation {

void fillSystemRandom(std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = getrandom(data, size, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            fatal(std::string("getrandom failed: ") + std::strerror(errno));
        }
        data += got;
        size -= static_cast<std::size_t>(got);
    }
}

std::uint64_t SystemRandomNumberGenerator::next() {
    std::uint8_t bytes[8];
    fillSystemRandom(bytes, sizeof bytes);
    std::uint64_t value = 0;
    for (std::uint8_t byte : bytes)
        value = value << 8 | byte;
    return value;
}

} // namespace foundation
