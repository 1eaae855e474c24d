#include "ui/form_builder.h"

namespace ui::form {

void AddMainWindow(FormBuilder& f) {
  // Later rows are drawn over earlier ones: the update button lies over the
  // lower part of the left panel.
  f.In("");
  f.Timer("时钟_自动更新", {48, 182, 29, 31});
  f.Panel("外形框1", {1, 1, 209, 569});
  f.Tabs("高级选择夹_总",
         {"111111111111", "计划         ", "群发", "开奖", "222232", "走势", "回测"},
         {211, 1, 694, 621});
  f.ImageButton("超级按钮_更新号码", "更新号码", {102, 484, 82, 37}).Skinned();

  // The left panel: the newest draw and the draw list.
  f.In("外形框1");
  f.Timer("时钟1", {87, 183, 30, 29});
  f.Label("标签_倒计时", "", {97, 535, 93, 24});
  f.Timer("时钟_倒计时", {12, 182, 29, 31});
  f.Label("标签1", "开奖倒计时:", {16, 539, 68, 17});
  f.Radio("单选框_数据源2", "数据源2", {12, 507, 72, 21});
  f.Radio("单选框_数据源1", "数据源1", {12, 476, 72, 21}).Checked();
  f.TransparentLabel("透明标签_显示期号", "", {11, 8, 187, 26})
      .WithFont({"微软雅黑", 19})
      .WithTextColor(kBlue);
  f.Picture("图片框5", {171, 43, 31, 31});
  f.Picture("图片框4", {130, 43, 31, 31});
  f.Picture("图片框3", {90, 43, 31, 31});
  f.Picture("图片框2", {49, 43, 31, 31});
  f.Picture("图片框1", {6, 43, 31, 31});
  f.ListView("列表框_开奖", {5, 82, 197, 384})
      .WithFont(kYaHei14)
      .WithColumns({{" 开奖期号", 112}, {"  奖号", 60}});

  // Page "111111111111": the one-key panel.
  f.In("高级选择夹_总", 0);
  f.HtmlViewer("超文本浏览框1", {436, 133, 252, 433});
  f.ImageButton("超级按钮_后一11", "", {576, 272, 59, 32});
  f.Tabs("高级选择夹_那星", {"一星", "二星", "三星"}, {2, 132, 431, 467});
  f.ImageButton("超级按钮_一键开启", "一 键 开 启:", {547, 98, 137, 34}).Skinned();
  f.ImageButton("超级按钮_智能筛选", "智 能 筛 选:", {547, 56, 137, 34}).Skinned();
  f.ImageButton("超级按钮_保存设置", "保 存 设 置:", {547, 14, 137, 34}).Skinned();
  f.Edit("编辑框_后三期数", "3", {416, 98, 42, 21}).DigitsOnly().MaxLength(1);
  f.Label("标签50", "期数:", {384, 98, 29, 21});
  f.Label("标签51", "码数:", {465, 98, 29, 21});
  f.Edit("编辑框_后三码数", "8", {497, 98, 42, 21}).DigitsOnly().MaxLength(1);
  f.Edit("编辑框_后二期数", "3", {416, 56, 42, 21}).DigitsOnly().MaxLength(1);
  f.Label("标签48", "期数:", {384, 56, 29, 21});
  f.Label("标签49", "码数:", {465, 56, 29, 21});
  f.Edit("编辑框_后二码数", "8", {497, 56, 42, 21}).DigitsOnly().MaxLength(1);
  f.Group("分组框4", "", {191, 87, 187, 36});
  f.Group("分组框3", "", {191, 45, 187, 36});
  f.Edit("编辑框_定位码数", "5", {497, 16, 42, 21}).DigitsOnly().MaxLength(1);
  f.Label("标签47", "码数:", {465, 16, 29, 21});
  f.Edit("编辑框_定位期数", "3", {416, 16, 42, 21}).DigitsOnly().MaxLength(1);
  f.Label("标签46", "期数:", {384, 16, 29, 21});
  f.Radio("单选框_个", "个", {345, 15, 32, 21}).Checked();
  f.Radio("单选框_十", "十", {306, 15, 32, 21});
  f.Radio("单选框_百", "百", {269, 15, 32, 21});
  f.Radio("单选框_千", "千", {231, 15, 32, 21});
  f.Combo("组合框_三星起始期1", {}, "", {72, 98, 117, 22});
  f.Combo("组合框_二星起始期1", {}, "", {72, 58, 117, 22});
  f.Radio("单选框_万", "万", {192, 15, 32, 21});
  f.ImageButton("超级按钮_后三", "后三设置:", {6, 91, 61, 35}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二", "后二设置:", {6, 51, 61, 35}).Skinned().Toggle();
  f.Combo("组合框_定位起始期1", {}, "", {72, 15, 117, 22});
  f.ImageButton("超级按钮_后一", "后一设置:", {6, 9, 61, 35}).Skinned().Toggle(true);

  // The two mode groups of the one-key panel.
  f.In("分组框3");
  f.Radio("单选框_后二直选复试", "后二直选复式", {85, 11, 94, 21});
  f.Radio("单选框_后二复试", "后二组选", {7, 11, 69, 21}).Checked();

  f.In("分组框4");
  f.Radio("单选框_后三直选复试", "后三直选复式", {84, 11, 94, 21});
  f.Radio("单选框_后三组选", "后三组选", {7, 11, 69, 21}).Checked();

  // The preset pages: ten preset buttons, an auto-update box, a title and
  // the result box the plan of the pressed preset writes into.
  f.In("高级选择夹_那星", 0);
  f.Check("选择框_定位更新", "自动更新", {354, 79, 70, 24});
  f.Label("标签_后一显示", "", {4, 78, 338, 24});
  f.Edit("编辑框_后一结果", "", {4, 107, 421, 328}).MultiLine().VerticalScrollBar();
  f.ImageButton("超级按钮_后一10", "定位胆", {344, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一9", "定位胆", {259, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一8", "定位胆", {174, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一7", "定位胆", {89, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一6", "定位胆", {4, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一5", "定位胆", {344, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一4", "定位胆", {259, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一3", "定位胆", {174, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一2", "定位胆", {89, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后一1", "定位胆", {4, 5, 82, 37}).Skinned().Toggle(true);

  f.In("高级选择夹_那星", 1);
  f.Check("选择框_后二更新", "自动更新", {351, 79, 72, 24});
  f.ImageButton("超级按钮_后二10", "后二", {345, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二9", "后二", {259, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二8", "后二", {174, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二7", "后二", {88, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二6", "后二", {4, 41, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二5", "后二", {345, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二4", "后二", {259, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二3", "后二", {174, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二2", "后二", {88, 5, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后二1", "后二", {4, 5, 82, 37}).Skinned().Toggle(true);
  f.Edit("编辑框_后二结果", "", {5, 108, 421, 328}).MultiLine().VerticalScrollBar();
  f.Label("标签_后二显示", "", {5, 79, 334, 24});

  f.In("高级选择夹_那星", 2);
  f.Check("选择框_后三更新", "自动更新", {347, 82, 72, 24});
  f.ImageButton("超级按钮_后三10", "后三", {343, 43, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三9", "后三", {260, 43, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三8", "后三", {175, 43, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三7", "后三", {91, 43, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三6", "后三", {5, 43, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三5", "后三", {343, 6, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三4", "后三", {260, 6, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三3", "后三", {175, 6, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三2", "后三", {91, 6, 82, 37}).Skinned().Toggle();
  f.ImageButton("超级按钮_后三1", "后三", {5, 6, 82, 37}).Skinned().Toggle(true);
  f.Edit("编辑框_后三结果", "", {5, 111, 421, 328}).MultiLine().VerticalScrollBar();
  f.Label("标签_后三显示", "", {6, 82, 333, 24});

  // Page "计划         " holds only the plan tab control.
  f.In("高级选择夹_总", 1);
  f.Tabs("高级选择夹_计划总",
         {"    定位    ", "     二星     ", "     三星     ", "      合集     ", " 提示语 ",
          "     搜公式    "},
         {-14, 12, 717, 406});

  // Page "群发": the chat groups of push.ini and their sending.
  f.In("高级选择夹_总", 2);
  f.ListView("超级列表框_群发", {99, 13, 299, 387})
      .WithColumns({{"序号", 50}, {"对话窗口", 218}, {"状态", 200}})
      .WithRowCheckBoxes();
  f.Button("按钮_群发刷新", "<<刷 新 群 号", {420, 15, 253, 68});
  f.Button("按钮_群发全选", "<<全 选 群 号", {422, 92, 250, 61});
  f.Button("按钮_群发全不选", "<<全 不 选 群", {422, 163, 249, 61});
  f.Check("选择框_自动群发", "自动发送", {516, 295, 92, 33});
  f.Button("按钮_群发发送", "发 送", {425, 338, 244, 61});
  f.Edit("编辑框_发送间阁", "2", {495, 244, 28, 34}).DigitsOnly().Centered();
  f.Label("标签113", "发送等待", {424, 243, 65, 34});
  f.Label("标签114", "群间等待", {544, 244, 76, 34});
  f.Edit("编辑框_群间间隔", "2", {627, 244, 28, 34}).DigitsOnly().Centered();
  // Under the list, as wide as the page's buttons reach: a status the 状态
  // column cuts short, read whole, the group's name on the line above it.
  f.Label("标签_群发状态", "", {99, 406, 574, 56}).MultiLine();

  // Page "开奖": the draw video, cropped by its panel to the part of the page
  // that matters.
  f.In("高级选择夹_总", 3);
  f.Panel("外形框15", {88, 3, 568, 360});
  f.Label("标签_开奖载入提示", "", {88, 372, 188, 31});
  f.Button("按钮_开奖刷新重庆", "重 庆 开 奖", {311, 370, 147, 36});
  f.Button("按钮_开奖刷新江西", "江 西 开 奖", {506, 370, 147, 36});

  f.In("外形框15");
  f.HtmlViewer("超文本浏览框_开奖", {-444, -134, 1479, 868});

  // Page "222232": only the status line.
  f.In("高级选择夹_总", 4);
  f.Label("标签_提示", "", {20, 20, 400, 24});
}

}  // namespace ui::form
