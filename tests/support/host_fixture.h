// The start of every unit test of the host logic: the scripted platform and the process-wide host
// state afresh, the host reading the fixture's own settings. Fixtures derive from it and add their
// own set-up after HostFixture::startOver. Pairs with tests/support/fake_platform.h.
#pragma once

#include <gtest/gtest.h>

#include "host/saver.h"
#include "tests/support/fake_platform.h"

class HostFixture : public testing::Test {
protected:
    void SetUp() override { startOver(); }
    // The host state is the process's: nothing of one test may reach the next.
    void TearDown() override { host = HostState(); }
    // Every piece of state back to the start, also between the cases of one test.
    void startOver() {
        fake::reset();
        host = HostState();
        host.settings = &settings;
    }

    SaverSettings settings;
};
