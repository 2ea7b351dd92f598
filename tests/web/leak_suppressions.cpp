// Fontconfig keeps its font caches for the life of the process by design;
// the desk's chart image and start-list PDF, drawn by the server inside the
// test process, reach them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
