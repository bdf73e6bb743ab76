// The portable machine for each test, with a freshly reset g_officeInfo, drive C: at hand, and in g_platform
// a registry that notes the roots opened for setting values, and whose keys go away after their first value
// has been read when told to.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/office_info.h"
#include "tests/support/test_machine.h"

class WatchedRegistry : public PortableRegistry {
 public:
  LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) override {
    if (access & KEY_SET_VALUE) openedToSet.push_back(root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU");
    return PortableRegistry::RegOpenKeyExA(root, subKey, options, access, result);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataSize) override {
    ++enumCalls;
    if (vanishing && index > 0) return ERROR_KEY_DELETED;
    return PortableRegistry::RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }

  bool vanishing = false;
  int enumCalls = 0;
  std::vector<std::string> openedToSet;
};

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
