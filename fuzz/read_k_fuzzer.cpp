// read_k_fuzzer: the saturating k reader held against a model of its
// syntax, against strtoll, and against atoi wherever atoi is defined, for
// any text, and bagwalk's reader to the same.

#include "arguments.hpp"
#include "read_k.hpp"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();

// check stops the run, so that libFuzzer keeps the input, when a claim fails.
void
check(bool claim)
{
	if (!claim)
		__builtin_trap();
}

// What the model makes of a text: the value, and whether it is the text's
// own value rather than one saturated at an end of the range.
struct reading {
	std::int32_t value;
	bool exact;
};

// is_blank is white space in the C locale, spelled out character by
// character.
bool
is_blank(char c)
{
	return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

// is_digit is a decimal digit, whatever the locale.
bool
is_digit(char c)
{
	return std::strchr("0123456789", c) != nullptr && c != '\0';
}

// magnitude_beyond tells whether the digits, without leading zeros, stand
// for a number greater than limit, also written without leading zeros:
// comparing lengths, then the texts, needs no arithmetic at all.
bool
magnitude_beyond(const std::string &digits, const std::string &limit)
{
	if (digits.size() != limit.size())
		return digits.size() > limit.size();
	return digits > limit;
}

// model reads text by its syntax: white space, an optional sign, the digits
// up to the first other character. The digits are gathered as a text and
// only turned into a number once they are known to fit.
reading
model(const char *text)
{
	std::size_t at = 0;
	bool negative = false;
	std::string digits;

	while (is_blank(text[at]))
		at++;
	if (text[at] == '+' || text[at] == '-')
		negative = text[at++] == '-';
	for (; is_digit(text[at]); at++)
		if (!digits.empty() || text[at] != '0')
			digits.push_back(text[at]);

	if (negative && magnitude_beyond(digits, "2147483648"))
		return {least, false};
	if (!negative && magnitude_beyond(digits, "2147483647"))
		return {most, false};
	std::int64_t value = 0;
	for (char digit : digits)
		value = value * 10 + (digit - '0');
	return {static_cast<std::int32_t>(negative ? -value : value), true};
}

// clamped_strtoll reads text with strtoll, which has the same syntax in the
// C locale and saturates at the 64-bit ends with ERANGE, and narrows the
// result to 32 bits, saturating; that is exact for any text.
std::int32_t
clamped_strtoll(const char *text)
{
	errno = 0;
	const long long value = std::strtoll(text, nullptr, 10);
	check(errno == 0 || errno == ERANGE);
	if (value > most)
		return most;
	if (value < least)
		return least;
	return static_cast<std::int32_t>(value);
}

// check_reader holds one reader against the model, strtoll and atoi.
template <typename Reader>
void
check_reader(Reader read, const char *text, reading expected)
{
	const std::int32_t got = read(text);

	check(got == expected.value);
	check(got == clamped_strtoll(text));
	// atoi is undefined for a value that does not fit, so ask it only
	// when the model says the value is in range.
	if (expected.exact)
		check(got == std::atoi(text));
}

} // namespace

// LLVMFuzzerTestOneInput reads a NUL-terminated copy of the input.
extern "C" int
LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	const std::string copy(reinterpret_cast<const char *>(data), size);
	const char *text = copy.c_str();
	const reading expected = model(text);

	check_reader(read_k, text, expected);
	check_reader(bagwalk::read_k, text, expected);
	return 0;
}
