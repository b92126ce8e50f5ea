// A library that stands in for MITAB in the binding's tests: built once
// without a version entry point, once reporting an older level, and once
// reporting the right level with nothing else behind it.

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

#ifdef STANDIN_VERSION
STANDIN_EXPORT int mitab_c_getlibversion() {
    return STANDIN_VERSION;
}
#endif

// Present in every build, so that a missing version is the only gap.
STANDIN_EXPORT void* mitab_c_open(const char*) {
    return nullptr;
}
