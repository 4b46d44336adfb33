// Every example in the manual pages, run, against what the page shows.

#include "run_program.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct example {
	std::string command; // after the "$ " prompt
	std::string output;  // as a reader of the page sees it
};

// unescape turns a line of a literal display into the text it shows.
std::string
unescape(const std::string &line)
{
	std::string text;
	for (std::size_t i = 0; i < line.size(); i++) {
		if (line[i] != '\\' || i + 1 == line.size()) {
			text += line[i];
			continue;
		}
		const char next = line[++i];
		if (next == 'e')
			text += '\\';
		else if (next != '&')
			ADD_FAILURE() << "an escape the test does not know: \\" << next;
	}
	return text;
}

// examples_in reads the literal displays of the EXAMPLES section that
// start with a "$ " prompt.
std::vector<example>
examples_in(const std::string &page)
{
	std::ifstream in(page);
	std::vector<example> found;
	std::string line;
	bool in_examples = false, in_display = false;

	while (std::getline(in, line)) {
		if (line.rfind(".Sh ", 0) == 0) {
			in_examples = line == ".Sh EXAMPLES";
		} else if (!in_examples) {
			continue;
		} else if (line.rfind(".Bd -literal", 0) == 0) {
			in_display = true;
		} else if (line == ".Ed") {
			in_display = false;
		} else if (!in_display) {
			continue;
		} else if (line.rfind("$ ", 0) == 0) {
			found.push_back({line.substr(2), ""});
		} else if (found.empty()) {
			ADD_FAILURE() << "output before any command: " << line;
		} else {
			found.back().output += unescape(line) + "\n";
		}
	}
	return found;
}

// directory_of is the folder that holds a file.
std::string
directory_of(const std::string &path)
{
	return path.substr(0, path.rfind('/'));
}

class ManualPage : public ::testing::TestWithParam<const char *> {
protected:
	static void SetUpTestSuite()
	{
		// The examples name the programs as a user would: find them first.
		const char *const inherited = std::getenv("PATH");
		const std::string path = directory_of(BAGLIST_PATH) + ":" +
		    directory_of(BAGWALK_PATH) + ":" +
		    (inherited != nullptr ? inherited : "/bin:/usr/bin");
		setenv("PATH", path.c_str(), 1);
	}
};

TEST_P(ManualPage, ExamplesShowTheRealOutput)
{
	const std::vector<example> examples = examples_in(GetParam());
	ASSERT_GE(examples.size(), 2u);
	for (const example &e : examples) {
		SCOPED_TRACE(e.command);
		const auto r = testing_support::run_program("/bin/sh",
		    {"-c", e.command});
		EXPECT_EQ(r.out, e.output);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 0);
	}
}

// page_name names a test after its page: baglist.1 is baglist.
std::string
page_name(const ::testing::TestParamInfo<const char *> &info)
{
	std::string name = info.param;
	name = name.substr(name.rfind('/') + 1);
	return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Pages, ManualPage,
    ::testing::Values(BAGLIST_PAGE, BAGWALK_PAGE), page_name);

} // namespace
