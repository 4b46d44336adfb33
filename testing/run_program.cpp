// run_program.cpp: fork, set the child up as a test asks, exec, collect.

#include "run_program.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

// fail_in_child reports a set-up failure without touching the parent's state.
[[noreturn]] void
fail_in_child(const char *what)
{
	const int saved = errno;
	(void)!write(2, what, std::char_traits<char>::length(what));
	_exit(saved == 0 ? 126 : 127);
}

// set_up_child puts stdout and stderr in place and applies the options.
void
set_up_child(int out_write, int err_write, const run_options &options)
{
	if (options.stdout_to == output::pipe) {
		if (dup2(out_write, 1) < 0)
			fail_in_child("dup2 stdout\n");
	} else if (options.stdout_to == output::dev_full) {
		const int full = open("/dev/full", O_WRONLY);
		if (full < 0 || dup2(full, 1) < 0)
			fail_in_child("open /dev/full\n");
		close(full);
	} else {
		close(1);
	}
	if (dup2(err_write, 2) < 0)
		fail_in_child("dup2 stderr\n");
	close(0);
	signal(SIGPIPE, options.ignore_sigpipe ? SIG_IGN : SIG_DFL);
	if (options.address_space_limit) {
		const struct rlimit limit = {*options.address_space_limit,
		    *options.address_space_limit};
		if (setrlimit(RLIMIT_AS, &limit) < 0)
			fail_in_child("setrlimit\n");
	}
}

// collect reads both pipes until both close, or until the time is up.
void
collect(int out_read, int err_read, const run_options &options,
    run_result &result)
{
	using clock = std::chrono::steady_clock;
	const auto deadline =
	    clock::now() + std::chrono::seconds(options.timeout_seconds);
	struct pollfd fds[2] = {{out_read, POLLIN, 0}, {err_read, POLLIN, 0}};
	std::string *into[2] = {&result.out, &result.err};
	char buffer[65536];

	while (fds[0].fd >= 0 || fds[1].fd >= 0) {
		const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
		    deadline - clock::now()).count();
		if (left <= 0) {
			result.timed_out = true;
			break;
		}
		if (poll(fds, 2, static_cast<int>(left)) < 0) {
			if (errno == EINTR)
				continue;
			throw std::runtime_error("poll failed");
		}
		for (int i = 0; i < 2; i++) {
			if (fds[i].fd < 0 || fds[i].revents == 0)
				continue;
			std::size_t want = sizeof buffer;
			if (i == 0 && options.read_at_most)
				want = std::min(want, *options.read_at_most - result.out.size());
			const ssize_t got = want == 0 ? 0 : read(fds[i].fd, buffer, want);
			if (got < 0 && errno == EINTR)
				continue;
			if (got > 0)
				into[i]->append(buffer, static_cast<std::size_t>(got));
			if (got <= 0 || (i == 0 && options.read_at_most &&
			    result.out.size() == *options.read_at_most)) {
				close(fds[i].fd);
				fds[i].fd = -1;
			}
		}
	}
	for (const struct pollfd &fd : fds)
		if (fd.fd >= 0)
			close(fd.fd);
}

} // namespace

run_result
run_program(const std::string &path, const std::vector<std::string> &args,
    const run_options &options)
{
	int out_pipe[2], err_pipe[2];
	if (pipe2(out_pipe, O_CLOEXEC) < 0 || pipe2(err_pipe, O_CLOEXEC) < 0)
		throw std::runtime_error("pipe failed");

	std::vector<std::string> words;
	words.push_back(options.argv0.value_or(path));
	words.insert(words.end(), args.begin(), args.end());
	std::vector<char *> argv;
	for (std::string &word : words)
		argv.push_back(word.data());
	argv.push_back(nullptr);

	const pid_t child = fork();
	if (child < 0)
		throw std::runtime_error("fork failed");
	if (child == 0) {
		set_up_child(out_pipe[1], err_pipe[1], options);
		execv(path.c_str(), argv.data());
		fail_in_child("execv\n");
	}
	close(out_pipe[1]);
	close(err_pipe[1]);

	run_result result;
	collect(out_pipe[0], err_pipe[0], options, result);
	if (result.timed_out)
		kill(child, SIGKILL);
	int status = 0;
	while (waitpid(child, &status, 0) < 0 && errno == EINTR)
		;
	result.exited = WIFEXITED(status);
	result.status = result.exited ? WEXITSTATUS(status) : -1;
	result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
	return result;
}

} // namespace testing_support
