// A plug-in-shaped library for the bundle tests: they load it and ask for the bundle of its code.
extern "C" __attribute__((visibility("default"))) int quorilSampleBundleMarker() {
    return 42;
}
