// The tests' own module: a function to call, and resources embedded at link time.
extern "C" __attribute__((visibility("default"))) int plinth_fixture_answer() {
    return 42;
}
