// A sample plug-in for the LoadLibraries benchmark: one exported function,
// so that each of the twenty copies is a real, distinct shared object.
#if defined(__GNUC__)
#define SAMPLE_PLUGIN_API extern "C" __attribute__((visibility("default")))
#else
#define SAMPLE_PLUGIN_API extern "C"
#endif

SAMPLE_PLUGIN_API int SamplePluginValue() { return SAMPLE_PLUGIN_VALUE; }
