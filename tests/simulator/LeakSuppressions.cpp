// Sanitizer builds of the simulator's tests: fontconfig keeps its patterns behind encoded
// pointers that the leak checker cannot follow, Pango keeps its font maps for the process, and
// the X client libraries that SDL loads keep their connection state. What they hold at exit is
// not a leak of ours. Weak, so a test-support definition of the same list takes precedence.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libX11.so\n"
           "leak:libdbus-1.so\n";
}
