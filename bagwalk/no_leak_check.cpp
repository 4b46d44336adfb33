// no_leak_check.cpp: linked into bagwalk in sanitizer builds alone.
//
// bagwalk takes its arrays once and leaves them to the end of the process,
// by design; LeakSanitizer would call that a leak. This turns the check off
// for bagwalk and for nothing else.

extern "C" const char *__asan_default_options();

extern "C" const char *
__asan_default_options()
{
	return "detect_leaks=0";
}
