#include "ui/form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::ControlDefinition;
using ui::ControlKind;
using ui::FindControl;
using ui::MainForm;
using K = ui::ControlKind;

const ControlDefinition& Definition(const std::string& name) {
  const ControlDefinition* entry = FindControl(name);
  if (entry == nullptr) throw std::out_of_range("form lacks " + name);
  return *entry;
}

// The pages 走势 and 回测 and the 群发 page's status label came later and have
// tests of their own.
bool CameLater(const ControlDefinition& entry) {
  return (entry.parent == "高级选择夹_总" && entry.page >= 5) || entry.name == "标签_群发状态";
}

// The form as first laid out: every control but those that came later.
std::vector<ControlDefinition> FirstLayout() {
  std::vector<ControlDefinition> controls;
  for (const ControlDefinition& entry : MainForm()) {
    if (!CameLater(entry)) controls.push_back(entry);
  }
  return controls;
}

std::set<std::string> NamesWhere(bool (*test)(const ControlDefinition&)) {
  std::set<std::string> names;
  for (const ControlDefinition& entry : FirstLayout()) {
    if (test(entry)) names.insert(entry.name);
  }
  return names;
}

TEST(FormTest, WindowCaptionSizeAndPlace) {
  EXPECT_EQ(ui::MainWindowDefinition().caption, "岚舟时时彩智能计划软件");
  const ui::Geometry& g = ui::MainWindowDefinition().geometry;
  EXPECT_EQ(std::vector<int>({g.left, g.top, g.width, g.height}),
            std::vector<int>({50, 50, 912, 603}));
}

struct ControlRow {
  const char* name;
  ControlKind kind;
  const char* parent;
  int page;
  ui::Geometry geometry;
  const char* text;
};

// Every control with its place and its caption or initial text.
const ControlRow kControls[] = {
    {"超级按钮_更新号码", K::ImageButton, "", -1, {102, 484, 82, 37}, "更新号码"},
    {"时钟_自动更新", K::Timer, "", -1, {48, 182, 29, 31}, ""},
    {"外形框1", K::Panel, "", -1, {1, 1, 209, 569}, ""},
    {"高级选择夹_总", K::TabControl, "", -1, {211, 1, 694, 621}, ""},
    {"时钟1", K::Timer, "外形框1", -1, {87, 183, 30, 29}, ""},
    {"标签_倒计时", K::Label, "外形框1", -1, {97, 535, 93, 24}, ""},
    {"时钟_倒计时", K::Timer, "外形框1", -1, {12, 182, 29, 31}, ""},
    {"标签1", K::Label, "外形框1", -1, {16, 539, 68, 17}, "开奖倒计时:"},
    {"单选框_数据源2", K::RadioBox, "外形框1", -1, {12, 507, 72, 21}, "数据源2"},
    {"单选框_数据源1", K::RadioBox, "外形框1", -1, {12, 476, 72, 21}, "数据源1"},
    {"透明标签_显示期号", K::TransparentLabel, "外形框1", -1, {11, 8, 187, 26}, ""},
    {"图片框5", K::PictureBox, "外形框1", -1, {171, 43, 31, 31}, ""},
    {"图片框4", K::PictureBox, "外形框1", -1, {130, 43, 31, 31}, ""},
    {"图片框3", K::PictureBox, "外形框1", -1, {90, 43, 31, 31}, ""},
    {"图片框2", K::PictureBox, "外形框1", -1, {49, 43, 31, 31}, ""},
    {"图片框1", K::PictureBox, "外形框1", -1, {6, 43, 31, 31}, ""},
    {"列表框_开奖", K::ListView, "外形框1", -1, {5, 82, 197, 384}, ""},
    {"超文本浏览框1", K::HtmlViewer, "高级选择夹_总", 0, {436, 133, 252, 433}, ""},
    {"超级按钮_后一11", K::ImageButton, "高级选择夹_总", 0, {576, 272, 59, 32}, ""},
    {"高级选择夹_那星", K::TabControl, "高级选择夹_总", 0, {2, 132, 431, 467}, ""},
    {"超级按钮_一键开启", K::ImageButton, "高级选择夹_总", 0, {547, 98, 137, 34}, "一 键 开 启:"},
    {"超级按钮_智能筛选", K::ImageButton, "高级选择夹_总", 0, {547, 56, 137, 34}, "智 能 筛 选:"},
    {"超级按钮_保存设置", K::ImageButton, "高级选择夹_总", 0, {547, 14, 137, 34}, "保 存 设 置:"},
    {"编辑框_后三期数", K::EditBox, "高级选择夹_总", 0, {416, 98, 42, 21}, "3"},
    {"标签50", K::Label, "高级选择夹_总", 0, {384, 98, 29, 21}, "期数:"},
    {"标签51", K::Label, "高级选择夹_总", 0, {465, 98, 29, 21}, "码数:"},
    {"编辑框_后三码数", K::EditBox, "高级选择夹_总", 0, {497, 98, 42, 21}, "8"},
    {"编辑框_后二期数", K::EditBox, "高级选择夹_总", 0, {416, 56, 42, 21}, "3"},
    {"标签48", K::Label, "高级选择夹_总", 0, {384, 56, 29, 21}, "期数:"},
    {"标签49", K::Label, "高级选择夹_总", 0, {465, 56, 29, 21}, "码数:"},
    {"编辑框_后二码数", K::EditBox, "高级选择夹_总", 0, {497, 56, 42, 21}, "8"},
    {"分组框4", K::GroupBox, "高级选择夹_总", 0, {191, 87, 187, 36}, ""},
    {"分组框3", K::GroupBox, "高级选择夹_总", 0, {191, 45, 187, 36}, ""},
    {"编辑框_定位码数", K::EditBox, "高级选择夹_总", 0, {497, 16, 42, 21}, "5"},
    {"标签47", K::Label, "高级选择夹_总", 0, {465, 16, 29, 21}, "码数:"},
    {"编辑框_定位期数", K::EditBox, "高级选择夹_总", 0, {416, 16, 42, 21}, "3"},
    {"标签46", K::Label, "高级选择夹_总", 0, {384, 16, 29, 21}, "期数:"},
    {"单选框_个", K::RadioBox, "高级选择夹_总", 0, {345, 15, 32, 21}, "个"},
    {"单选框_十", K::RadioBox, "高级选择夹_总", 0, {306, 15, 32, 21}, "十"},
    {"单选框_百", K::RadioBox, "高级选择夹_总", 0, {269, 15, 32, 21}, "百"},
    {"单选框_千", K::RadioBox, "高级选择夹_总", 0, {231, 15, 32, 21}, "千"},
    {"组合框_三星起始期1", K::ComboBox, "高级选择夹_总", 0, {72, 98, 117, 22}, ""},
    {"组合框_二星起始期1", K::ComboBox, "高级选择夹_总", 0, {72, 58, 117, 22}, ""},
    {"单选框_万", K::RadioBox, "高级选择夹_总", 0, {192, 15, 32, 21}, "万"},
    {"超级按钮_后三", K::ImageButton, "高级选择夹_总", 0, {6, 91, 61, 35}, "后三设置:"},
    {"超级按钮_后二", K::ImageButton, "高级选择夹_总", 0, {6, 51, 61, 35}, "后二设置:"},
    {"组合框_定位起始期1", K::ComboBox, "高级选择夹_总", 0, {72, 15, 117, 22}, ""},
    {"超级按钮_后一", K::ImageButton, "高级选择夹_总", 0, {6, 9, 61, 35}, "后一设置:"},
    {"单选框_后二直选复试", K::RadioBox, "分组框3", -1, {85, 11, 94, 21}, "后二直选复式"},
    {"单选框_后二复试", K::RadioBox, "分组框3", -1, {7, 11, 69, 21}, "后二组选"},
    {"单选框_后三直选复试", K::RadioBox, "分组框4", -1, {84, 11, 94, 21}, "后三直选复式"},
    {"单选框_后三组选", K::RadioBox, "分组框4", -1, {7, 11, 69, 21}, "后三组选"},
    {"选择框_定位更新", K::CheckBox, "高级选择夹_那星", 0, {354, 79, 70, 24}, "自动更新"},
    {"标签_后一显示", K::Label, "高级选择夹_那星", 0, {4, 78, 338, 24}, ""},
    {"编辑框_后一结果", K::EditBox, "高级选择夹_那星", 0, {4, 107, 421, 328}, ""},
    {"超级按钮_后一10", K::ImageButton, "高级选择夹_那星", 0, {344, 41, 82, 37}, "定位胆"},
    {"超级按钮_后一9", K::ImageButton, "高级选择夹_那星", 0, {259, 41, 82, 37}, "定位胆"},
    {"超级按钮_后一8", K::ImageButton, "高级选择夹_那星", 0, {174, 41, 82, 37}, "定位胆"},
    {"超级按钮_后一7", K::ImageButton, "高级选择夹_那星", 0, {89, 41, 82, 37}, "定位胆"},
    {"超级按钮_后一6", K::ImageButton, "高级选择夹_那星", 0, {4, 41, 82, 37}, "定位胆"},
    {"超级按钮_后一5", K::ImageButton, "高级选择夹_那星", 0, {344, 5, 82, 37}, "定位胆"},
    {"超级按钮_后一4", K::ImageButton, "高级选择夹_那星", 0, {259, 5, 82, 37}, "定位胆"},
    {"超级按钮_后一3", K::ImageButton, "高级选择夹_那星", 0, {174, 5, 82, 37}, "定位胆"},
    {"超级按钮_后一2", K::ImageButton, "高级选择夹_那星", 0, {89, 5, 82, 37}, "定位胆"},
    {"超级按钮_后一1", K::ImageButton, "高级选择夹_那星", 0, {4, 5, 82, 37}, "定位胆"},
    {"选择框_后二更新", K::CheckBox, "高级选择夹_那星", 1, {351, 79, 72, 24}, "自动更新"},
    {"超级按钮_后二10", K::ImageButton, "高级选择夹_那星", 1, {345, 41, 82, 37}, "后二"},
    {"超级按钮_后二9", K::ImageButton, "高级选择夹_那星", 1, {259, 41, 82, 37}, "后二"},
    {"超级按钮_后二8", K::ImageButton, "高级选择夹_那星", 1, {174, 41, 82, 37}, "后二"},
    {"超级按钮_后二7", K::ImageButton, "高级选择夹_那星", 1, {88, 41, 82, 37}, "后二"},
    {"超级按钮_后二6", K::ImageButton, "高级选择夹_那星", 1, {4, 41, 82, 37}, "后二"},
    {"超级按钮_后二5", K::ImageButton, "高级选择夹_那星", 1, {345, 5, 82, 37}, "后二"},
    {"超级按钮_后二4", K::ImageButton, "高级选择夹_那星", 1, {259, 5, 82, 37}, "后二"},
    {"超级按钮_后二3", K::ImageButton, "高级选择夹_那星", 1, {174, 5, 82, 37}, "后二"},
    {"超级按钮_后二2", K::ImageButton, "高级选择夹_那星", 1, {88, 5, 82, 37}, "后二"},
    {"超级按钮_后二1", K::ImageButton, "高级选择夹_那星", 1, {4, 5, 82, 37}, "后二"},
    {"编辑框_后二结果", K::EditBox, "高级选择夹_那星", 1, {5, 108, 421, 328}, ""},
    {"标签_后二显示", K::Label, "高级选择夹_那星", 1, {5, 79, 334, 24}, ""},
    {"选择框_后三更新", K::CheckBox, "高级选择夹_那星", 2, {347, 82, 72, 24}, "自动更新"},
    {"超级按钮_后三10", K::ImageButton, "高级选择夹_那星", 2, {343, 43, 82, 37}, "后三"},
    {"超级按钮_后三9", K::ImageButton, "高级选择夹_那星", 2, {260, 43, 82, 37}, "后三"},
    {"超级按钮_后三8", K::ImageButton, "高级选择夹_那星", 2, {175, 43, 82, 37}, "后三"},
    {"超级按钮_后三7", K::ImageButton, "高级选择夹_那星", 2, {91, 43, 82, 37}, "后三"},
    {"超级按钮_后三6", K::ImageButton, "高级选择夹_那星", 2, {5, 43, 82, 37}, "后三"},
    {"超级按钮_后三5", K::ImageButton, "高级选择夹_那星", 2, {343, 6, 82, 37}, "后三"},
    {"超级按钮_后三4", K::ImageButton, "高级选择夹_那星", 2, {260, 6, 82, 37}, "后三"},
    {"超级按钮_后三3", K::ImageButton, "高级选择夹_那星", 2, {175, 6, 82, 37}, "后三"},
    {"超级按钮_后三2", K::ImageButton, "高级选择夹_那星", 2, {91, 6, 82, 37}, "后三"},
    {"超级按钮_后三1", K::ImageButton, "高级选择夹_那星", 2, {5, 6, 82, 37}, "后三"},
    {"编辑框_后三结果", K::EditBox, "高级选择夹_那星", 2, {5, 111, 421, 328}, ""},
    {"标签_后三显示", K::Label, "高级选择夹_那星", 2, {6, 82, 333, 24}, ""},
    {"超级列表框_群发", K::ListView, "高级选择夹_总", 2, {99, 13, 299, 387}, ""},
    {"按钮_群发刷新", K::Button, "高级选择夹_总", 2, {420, 15, 253, 68}, "<<刷 新 群 号"},
    {"按钮_群发全选", K::Button, "高级选择夹_总", 2, {422, 92, 250, 61}, "<<全 选 群 号"},
    {"按钮_群发全不选", K::Button, "高级选择夹_总", 2, {422, 163, 249, 61}, "<<全 不 选 群"},
    {"选择框_自动群发", K::CheckBox, "高级选择夹_总", 2, {516, 295, 92, 33}, "自动发送"},
    {"按钮_群发发送", K::Button, "高级选择夹_总", 2, {425, 338, 244, 61}, "发 送"},
    {"编辑框_发送间阁", K::EditBox, "高级选择夹_总", 2, {495, 244, 28, 34}, "2"},
    {"标签113", K::Label, "高级选择夹_总", 2, {424, 243, 65, 34}, "发送等待"},
    {"标签114", K::Label, "高级选择夹_总", 2, {544, 244, 76, 34}, "群间等待"},
    {"编辑框_群间间隔", K::EditBox, "高级选择夹_总", 2, {627, 244, 28, 34}, "2"},
    {"外形框15", K::Panel, "高级选择夹_总", 3, {88, 3, 568, 360}, ""},
    {"标签_开奖载入提示", K::Label, "高级选择夹_总", 3, {88, 372, 188, 31}, ""},
    {"按钮_开奖刷新重庆", K::Button, "高级选择夹_总", 3, {311, 370, 147, 36}, "重 庆 开 奖"},
    {"按钮_开奖刷新江西", K::Button, "高级选择夹_总", 3, {506, 370, 147, 36}, "江 西 开 奖"},
    {"超文本浏览框_开奖", K::HtmlViewer, "外形框15", -1, {-444, -134, 1479, 868}, ""},
    {"选择框_定位自动更新", K::CheckBox, "高级选择夹_计划总", 0, {602, 347, 80, 16}, "自动更新"},
    {"选择框_定位自定义公式", K::CheckBox, "高级选择夹_计划总", 0, {132, 383, 56, 16}, "自定义"},
    {"编辑框_定位右", K::EditBox, "高级选择夹_计划总", 0, {667, 316, 37, 22}, "）"},
    {"标签8", K::Label, "高级选择夹_计划总", 0, {644, 317, 22, 22}, "右"},
    {"按钮_定位开始", K::Button, "高级选择夹_计划总", 0, {576, 369, 131, 33}, "开始计划"},
    {"编辑框_定位公式", K::EditBox, "高级选择夹_计划总", 0, {208, 379, 335, 22}, ""},
    {"标签9", K::Label, "高级选择夹_计划总", 0, {29, 380, 66, 19}, "所用公式"},
    {"编辑框_定位左", K::EditBox, "高级选择夹_计划总", 0, {601, 316, 38, 22}, "（"},
    {"标签7", K::Label, "高级选择夹_计划总", 0, {576, 317, 22, 20}, "左"},
    {"编辑框_定位未开", K::EditBox, "高级选择夹_计划总", 0, {616, 287, 89, 22}, "等待"},
    {"标签6", K::Label, "高级选择夹_计划总", 0, {576, 288, 37, 20}, "未开"},
    {"编辑框_定位错误", K::EditBox, "高级选择夹_计划总", 0, {616, 261, 89, 22}, "错了"},
    {"编辑框_定位正确", K::EditBox, "高级选择夹_计划总", 0, {616, 235, 89, 22}, "中了"},
    {"标签4", K::Label, "高级选择夹_计划总", 0, {576, 262, 37, 20}, "错误"},
    {"标签5", K::Label, "高级选择夹_计划总", 0, {576, 236, 37, 20}, "正确"},
    {"编辑框_定位名", K::EditBox, "高级选择夹_计划总", 0, {575, 208, 130, 22}, ""},
    {"标签2", K::Label, "高级选择夹_计划总", 0, {575, 185, 130, 19}, "定位个性名"},
    {"编辑框_定位公式1", K::EditBox, "高级选择夹_计划总", 0, {4, 32, 566, 342}, ""},
    {"标签3", K::Label, "高级选择夹_计划总", 0, {574, 32, 134, 20}, "计划起始期"},
    {"标签35", K::Label, "高级选择夹_计划总", 0, {576, 82, 37, 20}, "位置"},
    {"组合框_定位选1", K::ComboBox, "高级选择夹_计划总", 0, {619, 81, 88, 22}, ""},
    {"标签36", K::Label, "高级选择夹_计划总", 0, {576, 108, 37, 20}, "玩法"},
    {"组合框_定位选法1", K::ComboBox, "高级选择夹_计划总", 0, {619, 107, 88, 22}, ""},
    {"标签39", K::Label, "高级选择夹_计划总", 0, {576, 134, 37, 20}, "码数"},
    {"组合框_定位码1", K::ComboBox, "高级选择夹_计划总", 0, {619, 134, 88, 22}, ""},
    {"标签55", K::Label, "高级选择夹_计划总", 0, {576, 161, 37, 20}, "期数"},
    {"组合框_定位期1", K::ComboBox, "高级选择夹_计划总", 0, {619, 160, 88, 22}, ""},
    {"选择框_二星自动更新", K::CheckBox, "高级选择夹_计划总", 1, {489, 382, 71, 16}, "自动更新"},
    {"组合框_二星选1", K::ComboBox, "高级选择夹_计划总", 1, {578, 103, 130, 22}, ""},
    {"组合框_二星码1", K::ComboBox, "高级选择夹_计划总", 1, {620, 130, 87, 20}, ""},
    {"组合框_二星期1", K::ComboBox, "高级选择夹_计划总", 1, {620, 155, 87, 20}, ""},
    {"组合框_二星注数1", K::ComboBox, "高级选择夹_计划总", 1, {620, 180, 87, 22}, ""},
    {"按钮_二星开始", K::Button, "高级选择夹_计划总", 1, {578, 361, 131, 42}, "开始计划"},
    {"编辑框_二星公式", K::EditBox, "高级选择夹_计划总", 1, {168, 378, 308, 23}, ""},
    {"选择框_二星自定义公式", K::CheckBox, "高级选择夹_计划总", 1, {99, 383, 57, 16}, "自定义"},
    {"标签10", K::Label, "高级选择夹_计划总", 1, {10, 380, 74, 19}, "所用公式"},
    {"编辑框_二星公式1", K::EditBox, "高级选择夹_计划总", 1, {4, 32, 567, 342}, ""},
    {"编辑框_二星右", K::EditBox, "高级选择夹_计划总", 1, {669, 333, 37, 22}, "）"},
    {"标签11", K::Label, "高级选择夹_计划总", 1, {646, 334, 22, 22}, "右"},
    {"编辑框_二星左", K::EditBox, "高级选择夹_计划总", 1, {603, 333, 38, 22}, "（"},
    {"标签12", K::Label, "高级选择夹_计划总", 1, {578, 334, 22, 20}, "左"},
    {"标签13", K::Label, "高级选择夹_计划总", 1, {578, 305, 37, 20}, "未开"},
    {"编辑框_二星未开", K::EditBox, "高级选择夹_计划总", 1, {618, 304, 89, 22}, "等待"},
    {"编辑框_二星错误", K::EditBox, "高级选择夹_计划总", 1, {618, 278, 89, 22}, "错了"},
    {"标签14", K::Label, "高级选择夹_计划总", 1, {578, 279, 37, 20}, "错误"},
    {"标签15", K::Label, "高级选择夹_计划总", 1, {578, 253, 37, 20}, "正确"},
    {"编辑框_二星正确", K::EditBox, "高级选择夹_计划总", 1, {618, 252, 89, 22}, "中了"},
    {"编辑框_二星名", K::EditBox, "高级选择夹_计划总", 1, {577, 227, 130, 22}, ""},
    {"标签16", K::Label, "高级选择夹_计划总", 1, {577, 205, 130, 19}, "定位个性名"},
    {"标签17", K::Label, "高级选择夹_计划总", 1, {577, 156, 40, 20}, "期数"},
    {"标签18", K::Label, "高级选择夹_计划总", 1, {577, 131, 40, 20}, "码数"},
    {"标签19", K::Label, "高级选择夹_计划总", 1, {577, 80, 130, 20}, "玩法"},
    {"标签20", K::Label, "高级选择夹_计划总", 1, {577, 181, 40, 20}, "注数"},
    {"标签21", K::Label, "高级选择夹_计划总", 1, {576, 32, 134, 20}, "计划起始期"},
    {"选择框_三星自动更新", K::CheckBox, "高级选择夹_计划总", 2, {488, 382, 69, 16}, "自动更新"},
    {"组合框_三星注数1", K::ComboBox, "高级选择夹_计划总", 2, {623, 178, 87, 22}, ""},
    {"组合框_三星期1", K::ComboBox, "高级选择夹_计划总", 2, {623, 152, 87, 22}, ""},
    {"组合框_三星码1", K::ComboBox, "高级选择夹_计划总", 2, {623, 128, 87, 22}, ""},
    {"组合框_三星选1", K::ComboBox, "高级选择夹_计划总", 2, {579, 104, 132, 22}, ""},
    {"按钮_三星开始", K::Button, "高级选择夹_计划总", 2, {581, 361, 131, 42}, "开始计划"},
    {"编辑框_三星公式", K::EditBox, "高级选择夹_计划总", 2, {175, 378, 294, 22}, ""},
    {"标签22", K::Label, "高级选择夹_计划总", 2, {25, 380, 61, 19}, "所用公式"},
    {"选择框_三星自定义公式", K::CheckBox, "高级选择夹_计划总", 2, {101, 382, 56, 16}, "自定义"},
    {"编辑框_三星公式1", K::EditBox, "高级选择夹_计划总", 2, {6, 32, 569, 342}, ""},
    {"编辑框_三星右", K::EditBox, "高级选择夹_计划总", 2, {672, 333, 37, 22}, "）"},
    {"编辑框_三星左", K::EditBox, "高级选择夹_计划总", 2, {606, 333, 38, 22}, "（"},
    {"标签23", K::Label, "高级选择夹_计划总", 2, {581, 334, 22, 20}, "左"},
    {"标签24", K::Label, "高级选择夹_计划总", 2, {581, 305, 37, 20}, "未开"},
    {"编辑框_三星未开", K::EditBox, "高级选择夹_计划总", 2, {621, 304, 89, 22}, "等待"},
    {"编辑框_三星错误", K::EditBox, "高级选择夹_计划总", 2, {621, 278, 89, 22}, "错了"},
    {"标签25", K::Label, "高级选择夹_计划总", 2, {581, 279, 37, 20}, "错误"},
    {"标签26", K::Label, "高级选择夹_计划总", 2, {581, 253, 37, 20}, "正确"},
    {"编辑框_三星正确", K::EditBox, "高级选择夹_计划总", 2, {621, 252, 89, 22}, "中了"},
    {"编辑框_三星名", K::EditBox, "高级选择夹_计划总", 2, {580, 227, 130, 22}, ""},
    {"标签27", K::Label, "高级选择夹_计划总", 2, {580, 205, 130, 19}, "定位个性名"},
    {"标签28", K::Label, "高级选择夹_计划总", 2, {580, 179, 40, 20}, "注数"},
    {"标签29", K::Label, "高级选择夹_计划总", 2, {580, 153, 40, 20}, "期数"},
    {"标签30", K::Label, "高级选择夹_计划总", 2, {580, 129, 40, 20}, "码数"},
    {"标签31", K::Label, "高级选择夹_计划总", 2, {580, 80, 130, 20}, "玩法"},
    {"标签32", K::Label, "高级选择夹_计划总", 2, {579, 32, 134, 20}, "计划起始期"},
    {"按钮_集合复制", K::Button, "高级选择夹_计划总", 3, {564, 296, 149, 48}, "复 制 计 划"},
    {"选择框_集合奖号", K::CheckBox, "高级选择夹_计划总", 3, {594, 217, 86, 26}, "加入奖号"},
    {"选择框_集合自动", K::CheckBox, "高级选择夹_计划总", 3, {594, 255, 86, 26}, "自动更新"},
    {"按钮_集合开始", K::Button, "高级选择夹_计划总", 3, {564, 353, 149, 48}, "刷 新 计 划"},
    {"分组框1", K::GroupBox, "高级选择夹_计划总", 3, {562, 30, 151, 174}, "显示设置"},
    {"编辑框_集合分割符",
     K::EditBox,
     "高级选择夹_计划总",
     3,
     {125, 379, 429, 21},
     "————————————————"},
    {"编辑框_计划和集", K::EditBox, "高级选择夹_计划总", 3, {5, 32, 551, 342}, ""},
    {"标签33", K::Label, "高级选择夹_计划总", 3, {11, 380, 105, 19}, "中间分隔符"},
    {"标签38", K::Label, "分组框1", -1, {122, 131, 21, 23}, "行"},
    {"编辑框_集合三星行", K::EditBox, "分组框1", -1, {81, 131, 39, 24}, "8"},
    {"选择框_集合三星", K::CheckBox, "分组框1", -1, {35, 131, 45, 21}, "三星"},
    {"编辑框_集合三星位", K::EditBox, "分组框1", -1, {4, 131, 28, 22}, "3"},
    {"标签37", K::Label, "分组框1", -1, {124, 82, 21, 23}, "行"},
    {"编辑框_集合二星行", K::EditBox, "分组框1", -1, {83, 82, 39, 24}, "8"},
    {"选择框_集合二星", K::CheckBox, "分组框1", -1, {37, 82, 45, 21}, "二星"},
    {"编辑框_集合二星位", K::EditBox, "分组框1", -1, {6, 82, 28, 22}, "2"},
    {"标签34", K::Label, "分组框1", -1, {124, 38, 21, 23}, "行"},
    {"编辑框_集合定位行", K::EditBox, "分组框1", -1, {83, 38, 39, 24}, "8"},
    {"选择框_集合定位", K::CheckBox, "分组框1", -1, {37, 38, 45, 21}, "定位"},
    {"编辑框_集合定位位", K::EditBox, "分组框1", -1, {6, 38, 28, 22}, "1"},
    {"按钮_提示粘贴", K::Button, "高级选择夹_计划总", 4, {392, 366, 197, 35}, "粘 贴"},
    {"按钮_提示清空", K::Button, "高级选择夹_计划总", 4, {128, 366, 197, 35}, "清 空"},
    {"分组框2",
     K::GroupBox,
     "高级选择夹_计划总",
     4,
     {128, 40, 464, 322},
     "在这添加你要在计划下面显示的提示"},
    {"编辑框_提示语", K::EditBox, "分组框2", -1, {11, 35, 442, 275}, "彩世有风险，投资需谨慎。"},
    {"按钮_搜公式排序", K::Button, "高级选择夹_计划总", 5, {531, 341, 129, 27}, "&&公 式 排 序"},
    {"标签_搜索提示", K::Label, "高级选择夹_计划总", 5, {277, 373, 168, 24}, ""},
    {"组合框_搜索条数", K::ComboBox, "高级选择夹_计划总", 5, {209, 372, 62, 22}, ""},
    {"标签_定位搜索2", K::Label, "高级选择夹_计划总", 5, {140, 372, 66, 25}, "搜寻条数"},
    {"组合框_搜概率", K::ComboBox, "高级选择夹_计划总", 5, {79, 372, 58, 26}, ""},
    {"标签_定位搜索", K::Label, "高级选择夹_计划总", 5, {7, 371, 69, 26}, "搜寻概率"},
    {"按钮_搜停止", K::Button, "高级选择夹_计划总", 5, {530, 309, 129, 27}, "^^停 止 搜 索"},
    {"按钮_搜使用公式", K::Button, "高级选择夹_计划总", 5, {531, 374, 129, 27}, "**使 用 公 式"},
    {"组合框_搜玩发2", K::ComboBox, "高级选择夹_计划总", 5, {530, 156, 131, 22}, ""},
    {"组合框_搜玩发1", K::ComboBox, "高级选择夹_计划总", 5, {530, 131, 131, 22}, ""},
    {"组合框_搜注数1", K::ComboBox, "高级选择夹_计划总", 5, {595, 228, 66, 22}, ""},
    {"标签45", K::Label, "高级选择夹_计划总", 5, {530, 228, 59, 20}, "二星注数"},
    {"超级列表框_搜索", K::ListView, "高级选择夹_计划总", 5, {5, 35, 440, 331}, ""},
    {"单选框_搜三星", K::RadioBox, "高级选择夹_计划总", 5, {629, 39, 78, 19}, "搜索三星"},
    {"单选框_搜二星", K::RadioBox, "高级选择夹_计划总", 5, {538, 38, 80, 21}, "搜索二星"},
    {"单选框_搜定位", K::RadioBox, "高级选择夹_计划总", 5, {452, 39, 80, 20}, "搜索定位"},
    {"标签40", K::Label, "高级选择夹_计划总", 5, {530, 60, 131, 20}, "计划起始期"},
    {"组合框_搜起始期", K::ComboBox, "高级选择夹_计划总", 5, {530, 83, 131, 22}, ""},
    {"标签41", K::Label, "高级选择夹_计划总", 5, {530, 108, 131, 20}, "玩法"},
    {"组合框_搜码数", K::ComboBox, "高级选择夹_计划总", 5, {574, 180, 87, 22}, ""},
    {"组合框_搜期数", K::ComboBox, "高级选择夹_计划总", 5, {574, 204, 87, 22}, ""},
    {"组合框_搜注数2", K::ComboBox, "高级选择夹_计划总", 5, {595, 252, 66, 22}, ""},
    {"标签42", K::Label, "高级选择夹_计划总", 5, {530, 253, 59, 20}, "三星注数"},
    {"标签43", K::Label, "高级选择夹_计划总", 5, {530, 205, 40, 20}, "期数"},
    {"标签44", K::Label, "高级选择夹_计划总", 5, {530, 181, 40, 20}, "码数"},
    {"按钮_搜开始", K::Button, "高级选择夹_计划总", 5, {530, 276, 129, 30}, "<<开 始 搜 索"},
    {"高级选择夹_计划总", K::TabControl, "高级选择夹_总", 1, {-14, 12, 717, 406}, ""},
    {"标签_提示", K::Label, "高级选择夹_总", 4, {20, 20, 400, 24}, ""},
};

TEST(FormTest, EveryControlHasItsKindPlaceAndText) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    const ControlDefinition* entry = FindControl(row.name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->kind, row.kind);
    EXPECT_EQ(entry->parent, row.parent);
    EXPECT_EQ(entry->page, row.page);
    const ui::Geometry& g = entry->geometry;
    EXPECT_EQ(std::vector<int>({g.left, g.top, g.width, g.height}),
              std::vector<int>(
                  {row.geometry.left, row.geometry.top, row.geometry.width, row.geometry.height}));
    EXPECT_EQ(entry->text, row.text);
  }
}

TEST(FormTest, HoldsNoControlBeyondTheLayout) {
  std::set<std::string> expected;
  for (const ControlRow& row : kControls) expected.insert(row.name);
  std::set<std::string> actual;
  for (const ControlDefinition& entry : FirstLayout()) actual.insert(entry.name);
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(FirstLayout().size(), std::size(kControls)) << "a name appears twice";
}

TEST(FormTest, PushStatusLabelSitsUnderTheListAndCoversNothing) {
  // The part of a page of 高级选择夹_总 below its tab strip that shows.
  constexpr int kPageWidth = 690;
  constexpr int kPageHeight = 566;
  const ControlDefinition& label = Definition("标签_群发状态");
  const ControlDefinition& list = Definition("超级列表框_群发");
  EXPECT_EQ(label.kind, K::Label);
  EXPECT_EQ(label.text, "");
  EXPECT_TRUE(label.multiLine) << "a platform's reason may be longer than a line";
  EXPECT_EQ(label.parent, list.parent);
  EXPECT_EQ(label.page, list.page);
  const ui::Geometry& g = label.geometry;
  EXPECT_EQ(g.left, list.geometry.left);
  EXPECT_GE(g.top, list.geometry.top + list.geometry.height);
  EXPECT_LE(g.left + g.width, kPageWidth);
  EXPECT_LE(g.top + g.height, kPageHeight);
  for (const ControlDefinition& other : MainForm()) {
    if (other.parent != label.parent || other.page != label.page || &other == &label) continue;
    const ui::Geometry& o = other.geometry;
    const bool apart = g.left >= o.left + o.width || o.left >= g.left + g.width ||
                       g.top >= o.top + o.height || o.top >= g.top + g.height;
    EXPECT_TRUE(apart) << other.name;
  }
}

TEST(FormTest, ParentsComeBeforeChildrenAndPagesExist) {
  std::map<std::string, const ControlDefinition*> seen;
  for (const ControlDefinition& entry : MainForm()) {
    SCOPED_TRACE(entry.name);
    if (!entry.parent.empty()) {
      ASSERT_TRUE(seen.contains(entry.parent));
      const ControlDefinition& parent = *seen[entry.parent];
      if (parent.kind == ControlKind::TabControl) {
        EXPECT_GE(entry.page, 0);
        EXPECT_LT(entry.page, static_cast<int>(parent.pages.size()));
      } else {
        EXPECT_EQ(entry.page, -1);
        EXPECT_TRUE(parent.kind == ControlKind::Panel || parent.kind == ControlKind::GroupBox);
      }
    }
    seen[entry.name] = &entry;
  }
}

TEST(FormTest, FindControlAnswersNullForUnknownNames) {
  EXPECT_EQ(FindControl("标签_不存在"), nullptr);
  EXPECT_EQ(FindControl(""), nullptr);
}

TEST(FormTest, TabPagesCarryTheirExactCaptions) {
  const std::map<std::string, std::vector<std::string>> expected{
      {"高级选择夹_总",
       {"111111111111", "计划         ", "群发", "开奖", "222232", "走势", "回测"}},
      {"高级选择夹_那星", {"一星", "二星", "三星"}},
      {"高级选择夹_计划总",
       {"    定位    ", "     二星     ", "     三星     ", "      合集     ", " 提示语 ",
        "     搜公式    "}},
  };
  std::set<std::string> tabControls =
      NamesWhere([](const ControlDefinition& s) { return s.kind == ControlKind::TabControl; });
  EXPECT_EQ(tabControls.size(), expected.size());
  for (const auto& [name, pages] : expected) {
    EXPECT_EQ(Definition(name).pages, pages) << name;
  }
  // The spaces are part of the captions that page switching relies on.
  EXPECT_EQ(Definition("高级选择夹_总").pages[1].size(), std::string("计划").size() + 9);
}

struct ComboRow {
  const char* name;
  std::vector<std::string> items;
  const char* selected;  // empty: nothing selected
};

const ComboRow kCombos[] = {
    {"组合框_三星起始期1", {}, ""},
    {"组合框_二星起始期1", {}, ""},
    {"组合框_定位起始期1", {}, ""},
    {"组合框_定位选1", {"万位", "千位", "百位", "十位", "后一"}, "后一"},
    {"组合框_定位选法1", {"定位胆", "大小", "单双", "大小单双"}, "定位胆"},
    {"组合框_定位码1", {"1码", "2码", "3码", "4码", "5码", "6码", "7码", "8码", "9码"}, "5码"},
    {"组合框_定位期1",
     {"1期", "2期", "3期", "4期", "5期", "6期", "7期", "8期", "9期", "10期"},
     "2期"},
    {"组合框_二星选1",
     {"前二胆码", "前二直选复式", "前二复式", "前二大底", "前二大小", "前二单双", "前二大小单双",
      "后二胆码", "后二直选复式", "后二复式", "后二大底", "后二大小", "后二单双", "后二大小单双"},
     "后二胆码"},
    {"组合框_二星码1", {"1码", "2码", "3码", "4码", "5码", "6码", "7码", "8码", "9码"}, "4码"},
    {"组合框_二星期1",
     {"1期", "2期", "3期", "4期", "5期", "6期", "7期", "8期", "9期", "10期"},
     "2期"},
    {"组合框_二星注数1",
     {"25注", "30注", "35注", "40注", "45注", "54注", "63注", "72注", "81注"},
     "40注"},
    {"组合框_三星注数1",
     {"250注", "300注", "350注", "400注", "450注", "540注", "630注", "720注", "810注"},
     "400注"},
    {"组合框_三星期1",
     {"1期", "2期", "3期", "4期", "5期", "6期", "7期", "8期", "9期", "10期"},
     "4期"},
    {"组合框_三星码1", {"1码", "2码", "3码", "4码", "5码", "6码", "7码", "8码", "9码"}, "1码"},
    {"组合框_三星选1",
     {"前三胆码", "前三直选复式", "前三复式", "前三大底", "前三大小", "前三单双", "前三大小单双",
      "前三组三", "前三组六", "后三胆码", "后三直选复式", "后三复式", "后三大底", "后三大小",
      "后三单双", "后三大小单双", "后三组三", "后三组六"},
     "后三胆码"},
    {"组合框_搜索条数",
     {"100", "200", "300", "400", "500", "1000", "2000", "3000", "4000", "5000"},
     "200"},
    {"组合框_搜概率",
     {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"},
     "80%"},
    {"组合框_搜玩发2", {"定位胆", "大小", "单双", "大小单双"}, "定位胆"},
    {"组合框_搜玩发1", {"万位", "千位", "百位", "十位", "后一"}, "后一"},
    {"组合框_搜注数1",
     {"25注", "30注", "35注", "40注", "45注", "54注", "63注", "72注", "81注"},
     "40注"},
    {"组合框_搜起始期", {}, ""},
    {"组合框_搜码数", {"1码", "2码", "3码", "4码", "5码", "6码", "7码", "8码", "9码"}, "4码"},
    {"组合框_搜期数",
     {"1期", "2期", "3期", "4期", "5期", "6期", "7期", "8期", "9期", "10期"},
     "4期"},
    {"组合框_搜注数2",
     {"250注", "300注", "350注", "400注", "450注", "540注", "630注", "720注", "810注"},
     "400注"},
};

TEST(FormTest, CombosHaveTheirItemsAndSelectedItem) {
  std::set<std::string> listed;
  for (const ComboRow& row : kCombos) {
    SCOPED_TRACE(row.name);
    listed.insert(row.name);
    const ControlDefinition& entry = Definition(row.name);
    EXPECT_EQ(entry.items, row.items);
    if (std::string(row.selected).empty()) {
      EXPECT_EQ(entry.selectedItem, -1);
    } else {
      ASSERT_GE(entry.selectedItem, 0);
      ASSERT_LT(entry.selectedItem, static_cast<int>(entry.items.size()));
      EXPECT_EQ(entry.items[entry.selectedItem], row.selected);
    }
  }
  EXPECT_EQ(listed,
            NamesWhere([](const ControlDefinition& s) { return s.kind == ControlKind::ComboBox; }));
}

TEST(FormTest, SelectedIndexesThePlanPartsInterpret) {
  EXPECT_EQ(Definition("组合框_定位选1").selectedItem, 4);
  EXPECT_EQ(Definition("组合框_定位码1").selectedItem, 4);
  EXPECT_EQ(Definition("组合框_定位期1").selectedItem, 1);
  EXPECT_EQ(Definition("组合框_二星选1").selectedItem, 7);
  EXPECT_EQ(Definition("组合框_二星注数1").selectedItem, 3);
  EXPECT_EQ(Definition("组合框_三星选1").selectedItem, 9);
  EXPECT_EQ(Definition("组合框_三星码1").selectedItem, 0);
  EXPECT_EQ(Definition("组合框_搜索条数").selectedItem, 1);
  EXPECT_EQ(Definition("组合框_搜概率").selectedItem, 7);
}

TEST(FormTest, ExactlyTheseBoxesStartChecked) {
  const std::set<std::string> expected{
      "单选框_数据源1",      "单选框_个",           "单选框_后二复试",     "单选框_后三组选",
      "选择框_定位自动更新", "选择框_二星自动更新", "选择框_三星自动更新", "选择框_集合奖号",
      "选择框_集合自动",     "选择框_集合三星",     "选择框_集合二星",     "选择框_集合定位",
      "单选框_搜定位"};
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.checked; }), expected);
}

TEST(FormTest, NumberBoxesTakeDigitsOnlyAndSomeOneCharacter) {
  const std::set<std::string> oneKeyBoxes{"编辑框_后三期数", "编辑框_后三码数", "编辑框_后二期数",
                                          "编辑框_后二码数", "编辑框_定位码数", "编辑框_定位期数"};
  std::set<std::string> digits = oneKeyBoxes;
  digits.insert({"编辑框_发送间阁", "编辑框_群间间隔"});
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.digitsOnly; }), digits);
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.maxLength > 0; }), oneKeyBoxes);
  for (const std::string& name : oneKeyBoxes) EXPECT_EQ(Definition(name).maxLength, 1) << name;
}

TEST(FormTest, MultiLineBoxesAndTheirScrollBars) {
  const std::set<std::string> vertical{"编辑框_后一结果", "编辑框_后二结果", "编辑框_后三结果",
                                       "编辑框_提示语"};
  const std::set<std::string> both{"编辑框_定位公式1", "编辑框_二星公式1", "编辑框_三星公式1",
                                   "编辑框_计划和集"};
  std::set<std::string> multi = vertical;
  multi.insert(both.begin(), both.end());
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.multiLine; }), multi);
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.verticalScrollBar; }), multi);
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.horizontalScrollBar; }), both);
}

TEST(FormTest, CentredBoxes) {
  std::set<std::string> centred{"编辑框_发送间阁", "编辑框_群间间隔"};
  for (const char* page : {"定位", "二星", "三星"}) {
    for (const char* box : {"右", "左", "公式", "未开", "错误", "正确", "名"}) {
      centred.insert(std::string("编辑框_") + page + box);
    }
  }
  for (const char* kind : {"定位", "二星", "三星"}) {
    centred.insert(std::string("编辑框_集合") + kind + "行");
    centred.insert(std::string("编辑框_集合") + kind + "位");
  }
  EXPECT_EQ(
      NamesWhere([](const ControlDefinition& s) { return s.alignment == ui::Alignment::Center; }),
      centred);
}

TEST(FormTest, ToggleButtonsAndTheirFirstSelection) {
  std::set<std::string> toggles{"超级按钮_后一", "超级按钮_后二", "超级按钮_后三"};
  for (const char* kind : {"一", "二", "三"}) {
    for (int i = 1; i <= 10; ++i)
      toggles.insert("超级按钮_后" + std::string(kind) + std::to_string(i));
  }
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.toggle; }), toggles);
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.initiallySelected; }),
            (std::set<std::string>{"超级按钮_后一1", "超级按钮_后二1", "超级按钮_后三1",
                                   "超级按钮_后一"}));
  std::set<std::string> skinned = toggles;
  skinned.insert(
      {"超级按钮_更新号码", "超级按钮_一键开启", "超级按钮_智能筛选", "超级按钮_保存设置"});
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.skinned; }), skinned);
  EXPECT_FALSE(Definition("超级按钮_后一11").skinned);
}

TEST(FormTest, ListViewColumns) {
  auto columns = [](const std::string& name) {
    std::vector<std::pair<std::string, int>> result;
    for (const ui::Column& c : Definition(name).columns) result.emplace_back(c.caption, c.width);
    return result;
  };
  using Columns = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(columns("列表框_开奖"), (Columns{{" 开奖期号", 112}, {"  奖号", 60}}));
  EXPECT_EQ(columns("超级列表框_群发"), (Columns{{"序号", 50}, {"对话窗口", 218}, {"状态", 200}}));
  EXPECT_EQ(NamesWhere([](const ControlDefinition& s) { return s.rowCheckBoxes; }),
            std::set<std::string>{"超级列表框_群发"});
  EXPECT_EQ(columns("超级列表框_搜索"), (Columns{{"序号", 50}, {"公式", 258}, {"概率", 108}}));
}

struct LookRow {
  const char* name;
  ui::Font font;
  std::optional<ui::Color> text;
  std::optional<ui::Color> background;
};

bool SameColor(const std::optional<ui::Color>& a, const std::optional<ui::Color>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->red == b->red && a->green == b->green && a->blue == b->blue);
}

TEST(FormTest, FontsAndColoursBeyondTheDefault) {
  const ui::Color blue{0, 96, 192};
  const ui::Color red{255, 0, 0};
  const ui::Color lightGrey{236, 236, 236};
  const ui::Color silver{192, 192, 192};
  const std::vector<LookRow> looks{
      {"列表框_开奖", {"微软雅黑", 14}, {}, {}},
      {"透明标签_显示期号", {"微软雅黑", 19}, blue, {}},
      {"编辑框_定位公式1", {"微软雅黑", 14}, {}, {}},
      {"编辑框_二星公式1", {"微软雅黑", 14}, {}, {}},
      {"编辑框_三星公式1", {"微软雅黑", 14}, {}, {}},
      {"编辑框_计划和集", {"微软雅黑", 14}, {}, {}},
      {"编辑框_集合定位位", {}, red, lightGrey},
      {"编辑框_集合二星位", {}, red, lightGrey},
      {"编辑框_集合三星位", {}, red, lightGrey},
      {"编辑框_集合定位行", {"宋体", 12, true}, blue, silver},
      {"编辑框_集合二星行", {"宋体", 12, true}, blue, silver},
      {"编辑框_集合三星行", {"宋体", 12, true}, blue, silver},
      {"编辑框_集合分割符", {}, red, {}},
      {"编辑框_提示语", {"微软雅黑", 16}, {}, lightGrey},
      {"超级列表框_搜索", {"宋体", 16}, {}, {}},
      {"组合框_搜索条数", {"微软雅黑", 12}, {}, silver},
      {"组合框_搜概率", {"微软雅黑", 12}, {}, silver},
  };
  std::set<std::string> special;
  for (const LookRow& look : looks) {
    SCOPED_TRACE(look.name);
    special.insert(look.name);
    const ControlDefinition& entry = Definition(look.name);
    EXPECT_EQ(entry.font.family, look.font.family);
    EXPECT_EQ(entry.font.pixelHeight, look.font.pixelHeight);
    EXPECT_EQ(entry.font.bold, look.font.bold);
    EXPECT_TRUE(SameColor(entry.textColor, look.text));
    EXPECT_TRUE(SameColor(entry.background, look.background));
  }
  for (const ControlDefinition& entry : FirstLayout()) {
    if (special.contains(entry.name)) continue;
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.font.family, "宋体");
    EXPECT_EQ(entry.font.pixelHeight, 12);
    EXPECT_FALSE(entry.font.bold);
    EXPECT_FALSE(entry.textColor.has_value());
    EXPECT_FALSE(entry.background.has_value());
  }
}

TEST(FormTest, SeparatorIsSixteenDashes) {
  std::string sixteen;
  for (int i = 0; i < 16; ++i) sixteen += "—";
  EXPECT_EQ(Definition("编辑框_集合分割符").text, sixteen);
}

}  // namespace
