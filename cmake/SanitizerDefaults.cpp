// Default AddressSanitizer options of every program built with it.
//
// The runtime of GCC 12 guesses the bounds of a dynamic TLS block from the 16
// bytes in front of it when the block starts 16 bytes into a page, as glibc
// once laid such blocks out. Today glibc takes them from malloc, so the guess
// reads an allocator header, and LeakSanitizer's tracer later scans that bogus
// range and crashes at exit ("Tracer caught signal 11"). A program that loads
// libjpeg (through Qt's image plugin) hits this whenever its block lands there.
// Without the interception LeakSanitizer still scans dynamic TLS blocks: it
// takes every allocation of the dynamic loader as a root.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
