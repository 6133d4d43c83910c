#include "client/pidigits.h"

namespace nimbra {

namespace {

// A fixed-point number in base 2^32: word 0 is the whole part, the following
// words the fraction, most significant first.
using Fixed = std::vector<std::uint32_t>;

constexpr std::size_t kGuardWords = 4;

void DivideBy(Fixed& value, std::uint32_t divisor, std::size_t from)
{
    std::uint64_t remainder = 0;
    for (std::size_t i = from; i < value.size(); ++i) {
        const std::uint64_t current = (remainder << 32) | value[i];
        value[i] = static_cast<std::uint32_t>(current / divisor);
        remainder = current % divisor;
    }
}

void MultiplyBy(Fixed& value, std::uint32_t factor)
{
    std::uint64_t carry = 0;
    for (std::size_t i = value.size(); i-- > 0;) {
        const std::uint64_t current = static_cast<std::uint64_t>(value[i]) * factor + carry;
        value[i] = static_cast<std::uint32_t>(current);
        carry = current >> 32;
    }
}

void AddTo(Fixed& sum, const Fixed& term)
{
    std::uint64_t carry = 0;
    for (std::size_t i = sum.size(); i-- > 0;) {
        const std::uint64_t current = static_cast<std::uint64_t>(sum[i]) + term[i] + carry;
        sum[i] = static_cast<std::uint32_t>(current);
        carry = current >> 32;
    }
}

void SubtractFrom(Fixed& difference, const Fixed& term)
{
    std::int64_t borrow = 0;
    for (std::size_t i = difference.size(); i-- > 0;) {
        std::int64_t current = static_cast<std::int64_t>(difference[i]) - term[i] - borrow;
        borrow = current < 0 ? 1 : 0;
        if (current < 0) current += std::int64_t{1} << 32;
        difference[i] = static_cast<std::uint32_t>(current);
    }
}

std::size_t FirstNonZero(const Fixed& value, std::size_t from)
{
    while (from < value.size() && value[from] == 0) ++from;
    return from;
}

// arctan(1/x) = 1/x - 1/(3x^3) + 1/(5x^5) - ...
Fixed ArcTanOfInverse(std::uint32_t x, std::size_t size)
{
    Fixed sum(size, 0);
    Fixed power(size, 0);
    power[0] = 1;
    DivideBy(power, x, 0);
    const std::uint32_t square = x * x;
    std::size_t lead = FirstNonZero(power, 0);
    for (std::uint32_t k = 0; lead < size; ++k) {
        Fixed term = power;
        DivideBy(term, 2 * k + 1, lead);
        if (k % 2 == 0)
            AddTo(sum, term);
        else
            SubtractFrom(sum, term);
        DivideBy(power, square, lead);
        lead = FirstNonZero(power, lead);
    }
    return sum;
}

}  // namespace

std::vector<std::uint32_t> PiDigits::compute(std::size_t words)
{
    const std::size_t size = 1 + words + kGuardWords;
    // pi = 16 arctan(1/5) - 4 arctan(1/239)
    Fixed pi = ArcTanOfInverse(5, size);
    MultiplyBy(pi, 16);
    Fixed small = ArcTanOfInverse(239, size);
    MultiplyBy(small, 4);
    SubtractFrom(pi, small);
    return std::vector<std::uint32_t>(pi.begin() + 1, pi.begin() + 1 + static_cast<long>(words));
}

const std::vector<std::uint32_t>& PiDigits::blowfishWords()
{
    static const std::vector<std::uint32_t> words = compute(kBlowfishWords);
    return words;
}

}  // namespace nimbra
