#include "support/opaque.h"

void* morvane::testing::OpaqueNull() { return nullptr; }
