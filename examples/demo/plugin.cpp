// A small module of the demonstration's own, into which it writes a resource.
extern "C" __attribute__((visibility("default"))) int plinth_demo_plugin() {
    return 1;
}
