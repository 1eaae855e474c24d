// push.ini's secrets stay in push.ini: the real program sends to groups whose
// platforms fail, echo the secrets back, or cannot be reached, and nothing it
// prints, logs or writes beside push.ini holds a secret.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process/child_process.h"
#include "push_harness.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;

const std::vector<std::string> kSecrets = {"hookKey7Qm2Xv9Lp", "dingSecret4Rt8Wz",
                                           "botToken3Hn6Yc1J", "larkSecret5Gd2Pf"};

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PushSecretsConsole, NoSecretLeavesPushIni) {
  TempDir dir;
  // Every platform answers with a failure that quotes each secret.
  std::string echoed = "failed for";
  for (const std::string& secret : kSecrets) echoed += " " + secret;
  push_test::PlatformServer platform;
  platform.SetAnswer([&](const push_test::Received&, httplib::Response& response) {
    response.status = 500;
    response.set_content(R"({"errcode":1,"errmsg":")" + echoed + R"("})", "application/json");
  });
  {
    std::ofstream ini(dir.path() / "push.ini", std::ios::binary);
    ini << "[钩子]\ntype=webhook\nurl=" << platform.Url("/hook?key=" + kSecrets[0])
        << "\nchecked=1\n"
        << "[钉钉]\ntype=dingtalk\nurl=" << platform.Url("/robot/send?access_token=t")
        << "\nsecret=" << kSecrets[1] << "\nchecked=1\n"
        << "[电报]\ntype=telegram\nurl=http://127.0.0.1:1/bot" << kSecrets[2]
        << "/sendMessage\nchat_id=42\nchecked=1\n"
        << "[飞书]\ntype=feishu\nurl=" << platform.Url("/hook/x") << "\nsecret=" << kSecrets[3]
        << "\nchecked=1\n";
  }
  const std::filesystem::path errors =
      dir.path().parent_path() / (dir.path().filename().string() + ".stderr");
  std::string printed;
  {
    ChildProcess console({"/bin/sh", "-c", "exec \"$0\" --console --data-dir \"$1\" 2>\"$2\"",
                          (kBin / "lanzhou").string(), dir.path().string(), errors.string()});
    ASSERT_TRUE(console.started());
    // Actions answer nothing; queries a line each.
    for (const char* action : {"click 按钮_群发刷新", "set 编辑框_计划和集 定位胆 5码",
                               "set 编辑框_群间间隔 0", "click 按钮_群发发送"}) {
      ASSERT_TRUE(console.WriteLine(action));
    }
    printed += console.Ask("count 超级列表框_群发") + "\n";
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 3; ++column) {
        printed += console.Ask("cell 超级列表框_群发 " + std::to_string(row) + " " +
                               std::to_string(column)) +
                   "\n";
      }
    }
    printed += console.Ask("lastmessage") + "\n";
    console.WriteLine("quit");
  }
  // Three groups reach the platform; a 500 is tried once more.
  EXPECT_EQ(platform.Requests().size(), 6u) << printed;
  EXPECT_NE(printed.find("失败"), std::string::npos) << printed;

  std::vector<std::pair<std::string, std::string>> outputs = {{"stdout", printed},
                                                              {"stderr", Read(errors)}};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
    if (entry.is_regular_file() && entry.path().filename() != "push.ini")
      outputs.emplace_back(entry.path().filename().string(), Read(entry.path()));
  }
  for (const auto& [name, text] : outputs) {
    for (const std::string& secret : kSecrets)
      EXPECT_EQ(text.find(secret), std::string::npos) << name << " holds " << secret;
  }
  std::filesystem::remove(errors);
}

}  // namespace
