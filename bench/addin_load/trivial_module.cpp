// The baseline module: one exported function and nothing else to load or run.
extern "C" __attribute__((visibility("default"))) int trivialModuleAnswer() {
    return 42;
}
