// A fresh in-memory registry and drive map in g_platform for each test, and a
// freshly reset g_officeInfo.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "office/office_info.h"
#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/registry.h"
#include "tests/support/host_folder.h"

class OfficeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = g_platform;
    g_platform.registry = &registry;
    g_platform.fileSystem = &files;
    files.MapDrive('C', drive.Path());
    g_officeInfo.Reset();
  }
  void TearDown() override {
    EXPECT_EQ(0u, registry.OpenKeyCount()) << "a registry key was left open";
    g_officeInfo.Reset();
    g_platform = saved;
  }

  // Loads a scenario from tests/office/data.
  void LoadScenario(const char* name) {
    ASSERT_TRUE(registry.LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + name)) << name;
  }
  void LoadText(const std::string& text) { ASSERT_TRUE(registry.LoadRegText("REGEDIT4\n" + text)) << text; }

  PortableRegistry registry;
  PortableFileSystem files;
  HostFolder drive;
  Platform saved;
};
