// What the leak checker is told in sanitizer builds of the simulator and of the tests, so that
// the program carries it and needs no environment. Libraries keep caches for the life of the
// process and free nothing at exit: fontconfig keeps its patterns behind encoded pointers the
// checker cannot follow, Pango keeps its font maps, and the X and D-Bus client libraries that
// SDL loads keep their connection state. None of it is a leak of ours. Ignored in other builds.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libX11.so\n"
           "leak:libdbus-1.so\n";
}
