// Fuzz target for stored password blocks: any stored value deciphers to at
// most 63 bytes without reading past it, and any text the engine accepts
// comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cipher/PasswordBlock.h"

using namespace lindor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecipherPassword(data, size);
    if (text.size() > 63) std::abort();

    const std::string password(reinterpret_cast<const char*>(data), size);
    PasswordBlock block{};
    std::string error;
    if (EncipherPassword(password, &block, &error)) {
        if (DecipherPassword(block.data(), block.size()) != password) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
