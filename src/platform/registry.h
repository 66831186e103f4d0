// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A registry of keys holding text (REG_SZ) values: the calls the settings store makes, with the
// registry's own handles, access masks and result codes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::platform {

// A key handle: one of the predefined roots, or a key opened by createKey/openKey.
using HKey = uint32_t;

constexpr HKey HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKey HKEY_CURRENT_USER = 0x80000001u;
constexpr HKey HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKey HKEY_USERS = 0x80000003u;
constexpr HKey HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr HKey HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKey HKEY_DYN_DATA = 0x80000006u;

constexpr bool isRootKey(HKey key) {
  return key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA;
}

// The names of the predefined roots, in handle order from HKEY_CLASSES_ROOT.
constexpr std::array<std::string_view, 7> kRootKeyNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

// Keys outside the program's own that a backend maps to the host system.
constexpr std::string_view kTimeZoneKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
constexpr std::string_view kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
constexpr std::string_view kRunValueName = "Korvane";  // the program's value in kRunKey

// Access masks.
constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr uint32_t KEY_NOTIFY = 0x0010;
constexpr uint32_t KEY_CREATE_LINK = 0x0020;
constexpr uint32_t KEY_ALL_0x3F = 0x003F;  // the mask the settings store opens keys with

// Result codes.
using RegResult = int32_t;
constexpr RegResult ERROR_SUCCESS = 0;
constexpr RegResult ERROR_FILE_NOT_FOUND = 2;
constexpr RegResult ERROR_ACCESS_DENIED = 5;
constexpr RegResult ERROR_INVALID_HANDLE = 6;
constexpr RegResult ERROR_WRITE_FAULT = 29;
constexpr RegResult ERROR_INVALID_PARAMETER = 87;
constexpr RegResult ERROR_MORE_DATA = 234;
constexpr RegResult ERROR_NO_MORE_ITEMS = 259;

// One enumerated value; data is the text without its terminating NUL.
struct RegValue {
  std::string name;
  std::string data;
  bool operator==(const RegValue&) const = default;
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  // Creates the sub-key under key (or opens it when it exists) and opens it with access.
  virtual RegResult createKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) = 0;
  // Opens an existing sub-key; ERROR_FILE_NOT_FOUND when it does not exist.
  virtual RegResult openKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) = 0;
  virtual RegResult closeKey(HKey key) = 0;
  // Sets a REG_SZ value to text (up to its first NUL); needs KEY_SET_VALUE.
  virtual RegResult setString(HKey key, std::string_view name, std::string_view text) = 0;
  // The value at index in creation order; capacities are buffer sizes in bytes, NUL included.
  // ERROR_MORE_DATA when the name or the data does not fit (the index still counts), and
  // ERROR_NO_MORE_ITEMS past the last value; needs KEY_QUERY_VALUE.
  virtual RegResult enumValue(HKey key, uint32_t index, size_t nameCapacity, size_t dataCapacity,
                              RegValue& value) = 0;
  // Deletes a value; needs KEY_SET_VALUE.
  virtual RegResult deleteValue(HKey key, std::string_view name) = 0;
};

}  // namespace korvane::platform
