#include "client/blowfishcipher.h"

#include <algorithm>

#include "client/pidigits.h"

namespace nimbra {

namespace {
constexpr int kRounds = 16;
}  // namespace

BlowfishCipher::BlowfishCipher(const std::uint8_t* key, std::size_t keyLength,
                               const std::array<std::uint8_t, kBlockSize>& initialBlock)
{
    if (key == nullptr || keyLength == 0) throw CipherError("Incorrect key length");
    initial_ = load(initialBlock.data());
    scheduleKey(key, std::min(keyLength, kMaxKeyLength));
}

BlowfishCipher::Block BlowfishCipher::load(const std::uint8_t* bytes)
{
    auto word = [bytes](int at) {
        return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
               (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
    };
    return Block{word(0), word(4)};
}

void BlowfishCipher::store(Block block, std::uint8_t* bytes)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(block.left >> (24 - 8 * i));
        bytes[4 + i] = static_cast<std::uint8_t>(block.right >> (24 - 8 * i));
    }
}

void BlowfishCipher::checkLength(std::size_t length)
{
    if (length == 0 || length % kBlockSize != 0) throw CipherError("Incorrect buffer length");
}

void BlowfishCipher::scheduleKey(const std::uint8_t* key, std::size_t keyLength)
{
    const std::vector<std::uint32_t>& pi = PiDigits::blowfishWords();
    std::copy_n(pi.begin(), p_.size(), p_.begin());
    for (std::size_t box = 0; box < s_.size(); ++box)
        std::copy_n(pi.begin() + static_cast<long>(p_.size() + 256 * box), 256, s_[box].begin());

    std::size_t next = 0;
    for (std::uint32_t& word : p_) {
        std::uint32_t keyWord = 0;
        for (int i = 0; i < 4; ++i) {
            keyWord = (keyWord << 8) | key[next];
            next = (next + 1) % keyLength;
        }
        word ^= keyWord;
    }

    Block chain{0, 0};
    auto fill = [this, &chain](std::uint32_t* words, std::size_t count) {
        for (std::size_t i = 0; i < count; i += 2) {
            chain = encipher(chain);
            words[i] = chain.left;
            words[i + 1] = chain.right;
        }
    };
    fill(p_.data(), p_.size());
    for (auto& box : s_) fill(box.data(), box.size());
}

std::uint32_t BlowfishCipher::feistel(std::uint32_t x) const
{
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 255]) ^ s_[2][(x >> 8) & 255]) + s_[3][x & 255];
}

BlowfishCipher::Block BlowfishCipher::encipher(Block block) const
{
    std::uint32_t left = block.left;
    std::uint32_t right = block.right;
    for (int round = 0; round < kRounds; ++round) {
        left ^= p_[round];
        right ^= feistel(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= p_[kRounds];
    left ^= p_[kRounds + 1];
    return Block{left, right};
}

BlowfishCipher::Block BlowfishCipher::decipher(Block block) const
{
    std::uint32_t left = block.left;
    std::uint32_t right = block.right;
    for (int round = kRounds + 1; round > 1; --round) {
        left ^= p_[round];
        right ^= feistel(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= p_[1];
    left ^= p_[0];
    return Block{left, right};
}

void BlowfishCipher::encrypt(std::uint8_t* buffer, std::size_t length, int mode) const
{
    checkLength(length);
    Block previous = initial_;
    for (std::size_t at = 0; at < length; at += kBlockSize) {
        const Block plain = load(buffer + at);
        Block out;
        if (mode == CBC)
            out = encipher(Block{plain.left ^ previous.left, plain.right ^ previous.right});
        else if (mode == CFB) {
            const Block stream = encipher(previous);
            out = Block{plain.left ^ stream.left, plain.right ^ stream.right};
        } else
            out = encipher(plain);
        previous = out;
        store(out, buffer + at);
    }
}

void BlowfishCipher::decrypt(std::uint8_t* buffer, std::size_t length, int mode) const
{
    checkLength(length);
    Block previous = initial_;
    for (std::size_t at = 0; at < length; at += kBlockSize) {
        const Block in = load(buffer + at);
        Block out;
        if (mode == CBC) {
            const Block plain = decipher(in);
            out = Block{plain.left ^ previous.left, plain.right ^ previous.right};
        } else if (mode == CFB) {
            const Block stream = encipher(previous);
            out = Block{in.left ^ stream.left, in.right ^ stream.right};
        } else
            out = decipher(in);
        previous = in;
        store(out, buffer + at);
    }
}

}  // namespace nimbra
