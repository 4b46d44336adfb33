// run_program.hpp: run a built program as a user would, and see what it did.

#ifndef TESTING_RUN_PROGRAM_HPP
#define TESTING_RUN_PROGRAM_HPP

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

// UNDER_ASAN is defined where AddressSanitizer is built in: its shadow
// memory cannot live under an address-space limit.
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ASAN 1
#endif
#endif

namespace testing_support {

// Where the child's standard output goes.
enum class output { pipe, dev_full, closed };

struct run_options {
	std::optional<std::string> argv0;          // default: the program's path
	output stdout_to = output::pipe;
	bool ignore_sigpipe = false;               // SIG_IGN survives exec
	std::optional<rlim_t> address_space_limit; // RLIMIT_AS in the child
	// Close our end of stdout after this many bytes, like head -c.
	std::optional<std::size_t> read_at_most;
	int timeout_seconds = 60;                  // then SIGKILL
};

struct run_result {
	std::string out;
	std::string err;
	bool exited = false;    // ended through exit(); else by a signal
	int status = -1;        // exit status when exited
	int signal = 0;         // the signal that ended it otherwise
	bool timed_out = false; // we had to kill it
};

// run_program starts path with the given arguments (argument 0 apart) and
// collects its output until it ends.
run_result run_program(const std::string &path,
    const std::vector<std::string> &args, const run_options &options = {});

} // namespace testing_support

#endif // TESTING_RUN_PROGRAM_HPP
