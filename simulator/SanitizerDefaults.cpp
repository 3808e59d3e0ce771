// What the leak checker is told in sanitizer builds of the simulator and of the tests, so that
// the program carries it and needs no environment. Libraries keep caches for the life of the
// process and free nothing at exit: fontconfig keeps its patterns behind encoded pointers the
// checker cannot follow, Pango keeps its font maps, and the X and D-Bus client libraries that
// SDL loads keep their connection state. None of it is a leak of ours. Ignored in other builds.
// GLib's slice allocator needs no setting for a clean run (its slabs stay reachable). The tests set
// G_SLICE=always-malloc so that single slices are checked too; the program cannot set it for
// itself, since GLib's own initialiser takes its first slice before main runs.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libX11.so\n"
           "leak:libdbus-1.so\n";
}

// The suppressed cache entries are expected at every exit; listing them would read like a fault.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
