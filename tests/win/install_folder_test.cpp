#include "app/install_folder.h"

#include <gtest/gtest.h>

namespace km {
namespace {

const char kTestKey[] = "Software\\KestrinMarquelleTests";

struct RegistryFixture : ::testing::Test {
  HKEY key = nullptr;
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key);
    RegDeleteKeyExA(HKEY_CURRENT_USER, kTestKey, KEY_WOW64_32KEY, 0);
  }
  void set(const char* name, DWORD type, const std::string& data) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  std::string read(const std::string& name) {
    return read_registry_text(HKEY_CURRENT_USER, std::string(kTestKey) + "\\" + name, KEY_WOW64_32KEY);
  }
};

TEST_F(RegistryFixture, OnlyStringTypesGiveText) {
  char drive[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableA("SystemDrive", drive, MAX_PATH), 0u);

  set("Plain", REG_SZ, std::string("D:\\Games\\LOL\\", 14));
  set("Gbk", REG_SZ, std::string("D:\\英雄联盟", 12));
  set("Cut", REG_SZ, std::string("D:\\LOL\0junk", 12));
  set("Expand", REG_EXPAND_SZ, std::string("%SystemDrive%\\LOL", 18));
  set("Dword", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  set("Multi", REG_MULTI_SZ, std::string("D:\\LOL\0\0", 8));
  set("Binary", REG_BINARY, std::string("D:\\LOL", 6));

  EXPECT_EQ(read("Plain"), "D:\\Games\\LOL\\");  // a trailing backslash is kept
  EXPECT_EQ(read("Gbk"), "D:\\英雄联盟");
  EXPECT_EQ(read("Cut"), "D:\\LOL");
  EXPECT_EQ(read("Expand"), std::string(drive) + "\\LOL");
  EXPECT_EQ(read("Dword"), "");
  EXPECT_EQ(read("Multi"), "");
  EXPECT_EQ(read("Binary"), "");
  EXPECT_EQ(read("Missing"), "");
  EXPECT_EQ(read_registry_text(HKEY_CURRENT_USER, "Software\\NoSuchKeyHere\\InstallPath", KEY_WOW64_32KEY), "");
}

TEST(InstallFolder, ReadsTheGamesValueInThe32BitView) {
  const char kGameKey[] = "SOFTWARE\\Tencent\\LOL";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  // Whatever the machine had is put back afterwards.
  char old[4096];
  DWORD old_size = sizeof old, old_type = 0;
  const bool had_value = RegQueryValueExA(key, "InstallPath", nullptr, &old_type, reinterpret_cast<BYTE*>(old),
                                          &old_size) == ERROR_SUCCESS;
  const std::string value = "E:\\腾讯游戏\\英雄联盟";
  ASSERT_EQ(RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  EXPECT_EQ(read_install_folder(), value);
  if (had_value) RegSetValueExA(key, "InstallPath", 0, old_type, reinterpret_cast<BYTE*>(old), old_size);
  else RegDeleteValueA(key, "InstallPath");
  RegCloseKey(key);
}

}  // namespace
}  // namespace km
