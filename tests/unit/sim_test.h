// A test fixture with a fresh simulated world for every test.
#pragma once

#include "platform/sim/sim.h"

#include <gtest/gtest.h>

class SimTest : public ::testing::Test {
protected:
  void SetUp() override { sim::Reset(); }
};

// The byte that output buffers are filled with, to show what a call wrote.
const unsigned char kSentinel = 0xbd;
