// What the install tests compare installed files with: each item's content as the build
// compressed it (resources/content), and each edition's generated resource table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "install/edition.h"
#include "resources/resource_table.h"

// The bytes an item expands to (empty for a name the install table does not know).
const std::string& ExpandedContent(const std::string& itemName);
const ResourceTable& EditionTable(Edition edition);
const char* EditionName(Edition edition);
