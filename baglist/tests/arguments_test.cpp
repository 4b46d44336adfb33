// How baglist reads k and chooses the name in its usage message.

#include "arguments.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

TEST(ReadK, HasTheSyntaxOfAtoi)
{
	// Where atoi is defined (no overflow), read_k agrees with it.
	for (const char *text : {"2", "0", "-3", "+7", "  12", "\t\n\v\f\r 5",
		 "2x", "3 4", "two", "", "-", "+", "+-1", "- 1", "0x10", "007",
		 "2147483647", "-2147483648", "1e3", "\xc2\xa0" "1"})
		EXPECT_EQ(read_k(text), std::atoi(text)) << '"' << text << '"';
}

TEST(ReadK, SaturatesInsteadOfWrapping)
{
	const struct {
		const char *text;
		int k;
	} cases[] = {
		{"2147483648", INT_MAX}, {"4294967298", INT_MAX},
		{"99999999999999999999999999", INT_MAX}, {"-2147483649", INT_MIN},
		{"-4294967298", INT_MIN}, {" +00000000000000000000002", 2},
		{"-99999999999999999999x", INT_MIN},
	};
	for (const auto &c : cases)
		EXPECT_EQ(read_k(c.text), c.k) << c.text;
}

TEST(InvocationName, IsArgumentZeroOrBaglist)
{
	char name[] = "./my baglist";
	char *with_name[] = {name, nullptr};
	char *without[] = {nullptr};
	EXPECT_STREQ(invocation_name(1, with_name), "./my baglist");
	EXPECT_STREQ(invocation_name(0, without), "baglist");
}

} // namespace
