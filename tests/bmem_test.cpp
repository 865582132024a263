#include <morvane/bmem.h>

#include <gtest/gtest.h>
