#pragma once

#include <string>
#include <vector>

#include "ui/form.h"

// Internal to the form tables: a small vocabulary so that each control of the
// main window reads as one line of data.
namespace ui::form {

inline constexpr Color kBlue{0, 96, 192};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kLightGrey{236, 236, 236};
inline constexpr Color kSilver{192, 192, 192};

inline const Font kYaHei12{"微软雅黑", 12};
inline const Font kYaHei14{"微软雅黑", 14};
inline const Font kBoldSong12{"宋体", 12, true};

// The properties of one control beyond its kind, name, caption and place.
class Row {
 public:
  explicit Row(ControlDefinition& entry) : definition_(entry) {}

  Row& Checked();
  Row& DigitsOnly();
  Row& MaxLength(int characters);
  Row& MultiLine();
  Row& VerticalScrollBar();
  Row& BothScrollBars();
  Row& Centered();
  Row& Skinned();
  Row& Toggle(bool initiallySelected = false);
  Row& WithFont(const Font& font);
  Row& WithTextColor(Color color);
  Row& WithBackground(Color color);
  Row& WithColumns(std::vector<Column> columns);
  Row& WithRowCheckBoxes();

 private:
  ControlDefinition& definition_;
};

class FormBuilder {
 public:
  // The following rows go into this container; `page` for tab controls.
  void In(const std::string& parent, int page = -1);

  Row Label(const std::string& name, const std::string& caption, Geometry geometry);
  Row TransparentLabel(const std::string& name, const std::string& caption, Geometry geometry);
  Row Edit(const std::string& name, const std::string& text, Geometry geometry);
  // `selected` is the text of the item shown at start, empty for none.
  Row Combo(const std::string& name, const std::vector<std::string>& items,
            const std::string& selected, Geometry geometry);
  Row Check(const std::string& name, const std::string& caption, Geometry geometry);
  Row Radio(const std::string& name, const std::string& caption, Geometry geometry);
  Row Button(const std::string& name, const std::string& caption, Geometry geometry);
  Row ImageButton(const std::string& name, const std::string& caption, Geometry geometry);
  Row ListView(const std::string& name, Geometry geometry);
  Row Picture(const std::string& name, Geometry geometry);
  Row HtmlViewer(const std::string& name, Geometry geometry);
  Row Timer(const std::string& name, Geometry geometry);
  Row Group(const std::string& name, const std::string& caption, Geometry geometry);
  Row Panel(const std::string& name, Geometry geometry);
  Row Tabs(const std::string& name, const std::vector<std::string>& pages, Geometry geometry);
  Row ProgressBar(const std::string& name, Geometry geometry);
  Row TrendChart(const std::string& name, Geometry geometry);

  std::vector<ControlDefinition> Take();

 private:
  Row Add(ControlKind kind, const std::string& name, Geometry geometry, const std::string& text);

  std::string parent_;
  int page_ = -1;
  std::vector<ControlDefinition> controls_;
};

// Item lists shared by several combo boxes.
extern const std::vector<std::string> kPositionItems;
extern const std::vector<std::string> kPlayItems;
extern const std::vector<std::string> kCodeItems;
extern const std::vector<std::string> kPeriodItems;
extern const std::vector<std::string> kTwoStarBetItems;
extern const std::vector<std::string> kThreeStarBetItems;

// The window's own controls, the one-key panel and the pages beside it.
void AddMainWindow(FormBuilder& f);
// The six pages of 高级选择夹_计划总.
void AddPlanPages(FormBuilder& f);
// Pages 走势 and 回测 of 高级选择夹_总, on the draw archive.
void AddLongRangePages(FormBuilder& f);

}  // namespace ui::form
