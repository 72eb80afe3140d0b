// Sanitizer defaults of the ODBC test binary. The SQLite ODBC driver leaks a little memory on
// each connect, inside a library it loads and unloads itself; that memory is not ours to free.
// Its frames lack frame pointers, so allocation stacks are unwound the slow way to reach the
// driver's frame that the suppression names. The environment's options still apply on top.

extern "C" __attribute__((used)) const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libsqlite3odbc.so\n";
}
