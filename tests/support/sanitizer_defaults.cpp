// Sanitizer settings of the test build, linked into every program of it, so that they
// hold however a program is started: by ctest, as a test's child, or by hand.
//
// intercept_tls_get_addr=0: this compiler's runtime can take a block of dynamic TLS for
// the header of an old glibc and crash LeakSanitizer's tracer at exit, now and then, in
// programs with many threads (Mesa's).
// Weak, so that a test program that needs more can give its own.
extern "C" __attribute__((weak)) const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}
// Only what SDL's system libraries keep until exit is suppressed (tests/lsan.supp).
extern "C" const char* __lsan_default_options() {
  return "suppressions=" TARKSEN_LSAN_SUPP ":print_suppressions=0";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
