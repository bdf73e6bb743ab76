// The portable machine for each test, with a freshly reset g_officeInfo and its registry and
// drive C: at hand.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "office/office_info.h"
#include "tests/support/test_machine.h"

class OfficeFixture : public ::testing::Test {
 protected:
  void SetUp() override { g_officeInfo.Reset(); }
  void TearDown() override { EXPECT_EQ(0u, registry.OpenKeyCount()) << "a registry key was left open"; }

  // Loads a scenario from tests/office/data.
  void LoadScenario(const char* name) {
    ASSERT_TRUE(registry.LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + name)) << name;
  }
  void LoadText(const std::string& text) { ASSERT_TRUE(registry.LoadRegText("REGEDIT4\n" + text)) << text; }

  TestMachine machine;
  PortableRegistry& registry = machine.registry;
  HostFolder& drive = machine.c;
};
