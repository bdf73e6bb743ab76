// The portable machine for each test, with a freshly reset g_officeInfo, drive C: at hand, and in g_platform
// a WatchedRegistry (tests/support/test_machine.h).
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "office/office_info.h"
#include "tests/support/test_machine.h"

class OfficeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    g_platform.registry = &registry;
    g_officeInfo.Reset();
  }
  void TearDown() override { EXPECT_EQ(0u, registry.OpenKeyCount()) << "a registry key was left open"; }

  // Loads a scenario from tests/office/data.
  void LoadScenario(const char* name) {
    ASSERT_TRUE(registry.LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + name)) << name;
  }
  void LoadText(const std::string& text) { ASSERT_TRUE(registry.LoadRegText("REGEDIT4\n" + text)) << text; }

  WatchedRegistry registry;  // before the machine, which puts back the services it found when it goes
  TestMachine machine;
  HostFolder& drive = machine.c;
};
