// baglist run as users run it: exact stdout, stderr and exit status.

#include "oracle.hpp"
#include "run_program.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

using testing_support::brute_force_lines;
using testing_support::output;
using testing_support::run_options;
using testing_support::run_program;
using testing_support::run_result;
using testing_support::with_items;
using args = std::vector<std::string>;

const std::string baglist = BAGLIST_PATH;

run_result
run(const args &arguments, const run_options &options = {})
{
	return run_program(baglist, arguments, options);
}

std::string
usage_for(const std::string &name)
{
	return "usage: \n" + name + " <k> <item1> <item2> ... <itemN>  ~ n quorlex k\n";
}

struct listing_case {
	args arguments;
	std::string out;
};

TEST(Baglist, WritesTheListing)
{
	const listing_case cases[] = {
		{{"2", "a", "b", "c"}, "a a \na b \na c \nb b \nb c \nc c \n"},
		{{"3", "a", "b"}, "a a a \na a b \na b b \nb b b \n"},
		{{"3", "x"}, "x x x \n"},
		{{"1", "a", "a"}, "a \na \n"},
		{{"2", "a", "a"}, "a a \na a \na a \n"},
		{{"0", "a", "b"}, "\n"},
		{{"-3", "a"}, "\n"},
		{{"two", "a", "b"}, "\n"},
		{{"1", ""}, " \n"},
		{{"2", "", "b"}, "  \n b \nb b \n"},
		{{"2x", "a", "b"}, "a a \na b \nb b \n"},
		{{" \t+1", "-n", "--help", "-"}, "-n \n--help \n- \n"},
		{{"1", "%s%n", "%%", "\\n"}, "%s%n \n%% \n\\n \n"},
		{{"1", "two words", "line\nbreak", "\xc3\xa9\xff"},
		    "two words \nline\nbreak \n\xc3\xa9\xff \n"},
		{{"-1", "-2", "3"}, "\n"},
	};
	for (const listing_case &c : cases) {
		SCOPED_TRACE(c.arguments[0] + " with " +
		    std::to_string(c.arguments.size() - 1) + " items");
		const run_result r = run(c.arguments);
		EXPECT_EQ(r.out, c.out);
		EXPECT_EQ(r.err, "");
		EXPECT_TRUE(r.exited);
		EXPECT_EQ(r.status, 0);
	}
}

TEST(Baglist, MatchesBruteForceOverAGrid)
{
	const args pool = {"a", "bb", "a", "", "c d", "-x"};
	for (std::size_t n = 1; n <= pool.size(); n++)
		for (int k = -1; k <= 5; k++) {
			SCOPED_TRACE("n = " + std::to_string(n) + ", k = " +
			    std::to_string(k));
			const args items(pool.begin(), pool.begin() + n);
			args arguments = {std::to_string(k)};
			arguments.insert(arguments.end(), items.begin(), items.end());
			const run_result r = run(arguments);
			EXPECT_EQ(r.out, brute_force_lines(k, items));
			EXPECT_EQ(r.status, 0);
		}
}

TEST(Baglist, ShowsUsageForTooFewArguments)
{
	for (const args &arguments : {args{}, args{"2"}}) {
		const run_result r = run(arguments);
		EXPECT_EQ(r.out, "");
		EXPECT_EQ(r.err, usage_for(baglist));
		EXPECT_TRUE(r.exited);
		EXPECT_EQ(r.status, 1);
	}
	run_options named;
	named.argv0 = "my baglist";
	const run_result r = run({"3"}, named);
	EXPECT_EQ(r.err, usage_for("my baglist"));
	EXPECT_EQ(r.status, 1);
}

// The kinds of output that cannot be written.
TEST(Baglist, ReportsWriteErrors)
{
	const struct {
		const char *name;
		output to;
		std::string err;
	} cases[] = {
		{"/dev/full", output::dev_full,
		    "baglist: stdout: No space left on device\n"},
		{"closed stdout", output::closed,
		    "baglist: stdout: Bad file descriptor\n"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.name);
		run_options options;
		options.stdout_to = c.to;
		const run_result r = run({"2", "a", "b", "c"}, options);
		EXPECT_EQ(r.err, c.err);
		EXPECT_TRUE(r.exited);
		EXPECT_EQ(r.status, 1);
	}
}

TEST(Baglist, StopsWhenTheReaderGoesAway)
{
	// 40,920 lines, far more than a pipe holds.
	const args arguments = with_items("4", 30);
	run_options options;
	options.read_at_most = 10;

	const run_result quiet = run(arguments, options);
	EXPECT_EQ(quiet.out, "a a a a \na");
	EXPECT_EQ(quiet.err, "");
	EXPECT_FALSE(quiet.exited);
	EXPECT_EQ(quiet.signal, SIGPIPE);

	options.ignore_sigpipe = true;
	const run_result told = run(arguments, options);
	EXPECT_EQ(told.err, "baglist: stdout: Broken pipe\n");
	EXPECT_TRUE(told.exited);
	EXPECT_EQ(told.status, 1);
}

TEST(Baglist, RefusesAListingThatCannotFit)
{
	const struct {
		args arguments;
		std::string err;
	} cases[] = {
		{with_items("10", 30), "baglist: 635745396 multisets of 10 items "
		    "cannot fit in memory; bagwalk streams them instead\n"},
		{with_items("40", 40), "baglist: 18446744073709551615 multisets "
		    "of 40 items cannot fit in memory; bagwalk streams them instead\n"},
		// k past 32 bits saturates; it does not wrap round to 2.
		{{"4294967298", "a", "b"}, "baglist: 2147483648 multisets of "
		    "2147483647 items cannot fit in memory; bagwalk streams them "
		    "instead\n"},
		{{"4294967297", "x"}, "baglist: 1 multiset of 2147483647 items "
		    "cannot fit in memory; bagwalk streams them instead\n"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.arguments[0]);
		run_options options;
		options.timeout_seconds = 5;
		const run_result r = run(c.arguments, options);
		EXPECT_FALSE(r.timed_out);
		EXPECT_EQ(r.out, "");
		EXPECT_EQ(r.err, c.err);
		EXPECT_EQ(r.status, 1);
	}
}

TEST(Baglist, SaysSoWhenMemoryRunsOut)
{
#ifdef UNDER_ASAN
	GTEST_SKIP() << "an address-space limit and AddressSanitizer do not mix";
#endif
	// About 4.4 million multisets: several hundred MiB, under a 256 MiB limit.
	run_options options;
	options.address_space_limit = 256u << 20;
	const run_result r = run(with_items("4", 100), options);
	EXPECT_EQ(r.out, "");
	EXPECT_EQ(r.err, "baglist: out of memory\n");
	EXPECT_TRUE(r.exited);
	EXPECT_EQ(r.status, 1);
}

} // namespace
