#pragma once

#include "store/Clock.h"
#include "store/Environment.h"
#include "store/Services.h"
#include "tests/support/MessageRecorder.h"

// A test's own services: the environment of the test process (its private data folder,
// and servers where nothing listens until a test points them at its own), a clock that can
// be pinned, and message boxes that fail the test unless a recorder expects them.
struct TestServices
{
    TestServices();

    Services services() { return {environment, clock, messages}; }

    Environment environment;
    Clock clock;
    TestMessages messages;
};
