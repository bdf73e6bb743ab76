// The resources of one edition as plain data, generated at build time from
// resources/resources.list (the list that also makes setup.rc). Each entry holds the
// bytes a Win32 resource of that type, id or name and language 0x1409 holds.
#pragma once
#include <cstddef>
#include <cstdint>

struct ResourceEntry {
  uint16_t type;               // RT_BITMAP, RT_ICON, RT_STRING, RT_RCDATA, RT_GROUP_ICON, RT_VERSION
  uint16_t id;                 // integer id, 0 when the resource has a name
  const char* name;            // name (upper case), null when it has an id
  const unsigned char* data;
  uint32_t size;
};

struct ResourceTable {
  const char* edition;
  const ResourceEntry* entries;
  size_t count;
};

const ResourceTable& StandardResources();
const ResourceTable& ProfessionalResources();
const ResourceTable& QuorvelResources();
// The edition this build carries (VESSORA_EDITION); in library resource_table.
const ResourceTable& BuiltInResources();
