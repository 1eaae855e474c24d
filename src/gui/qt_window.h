#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gui/event_loop_waits.h"
#include "gui/widget_factory.h"
#include "ui/control_rules.h"
#include "ui/driven_window.h"
#include "ui/window.h"

class QWidget;

namespace gui {

class TrendChartView;

// The main window on screen: real Qt widgets built from ui::MainForm(), one
// per control, each with its control name as object name. Needs a running
// QApplication and lives on its thread; only Wake() may be called from other
// threads.
//
// With LANZHOU_MESSAGEBOX_LOG set in the environment, MessageBox writes the
// message to stderr instead of opening a modal box (tests and scripts); every
// message is also kept in Messages(). A script drives it as a user would
// (ui::DrivenWindow); its clock is the real one, moved by SetClock, and
// AdvanceClock waits in real time.
class QtWindow final : public ui::DrivenWindow {
 public:
  QtWindow();
  ~QtWindow() override;
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  QWidget* Widget() const { return window_.get(); }
  // Runs `then` once, as soon as the window's first frame has been painted and
  // handed to the screen, before the web views make their browsers.
  void AfterFirstPaint(std::function<void()> then);

  // ui::DrivenWindow
  void Click(const std::string& name) override;
  bool Type(const std::string& name, const std::string& text) override;
  void Choose(const std::string& name, int index) override;
  void CheckRow(const std::string& name, int row, bool checked) override;
  void Fire(const std::string& name, ui::Event event, int arg = 0) override;
  void Tick(const std::string& timer) override;
  void SetClock(ui::LocalTime now) override;
  void AdvanceClock(std::chrono::milliseconds duration) override;
  const std::vector<Message>& Messages() const override { return messages_; }
  base::Status Grab(const std::filesystem::path& file) override;

  // ui::Window
  std::string Text(const std::string& name) const override;
  void SetText(const std::string& name, const std::string& text) override;
  void AppendText(const std::string& name, const std::string& text) override;
  bool Checked(const std::string& name) const override;
  void SetChecked(const std::string& name, bool checked) override;
  int CurrentIndex(const std::string& name) const override;
  void SetCurrentIndex(const std::string& name, int index) override;
  void ClearItems(const std::string& name) override;
  void AddItem(const std::string& name, const std::string& text) override;
  int ItemCount(const std::string& name) const override;
  std::string ItemText(const std::string& name, int index) const override;
  bool Enabled(const std::string& name) const override;
  void SetEnabled(const std::string& name, bool enabled) override;
  bool Selected(const std::string& name) const override;
  void SetSelected(const std::string& name, bool selected) override;
  int CurrentPage(const std::string& name) const override;
  void SetCurrentPage(const std::string& name, int page) override;
  int InsertRow(const std::string& name, int position) override;
  void SetCell(const std::string& name, int row, int column, const std::string& text) override;
  std::string Cell(const std::string& name, int row, int column) const override;
  int RowCount(const std::string& name) const override;
  void DeleteAllRows(const std::string& name) override;
  int CurrentRow(const std::string& name) const override;
  void SetCurrentRow(const std::string& name, int row) override;
  bool RowChecked(const std::string& name, int row) const override;
  void SetRowChecked(const std::string& name, int row, bool checked) override;
  int RowMark(const std::string& name, int row) const override;
  void SetRowMark(const std::string& name, int row, int column) override;
  int Progress(const std::string& name) const override;
  void SetProgress(const std::string& name, int percent) override;
  ui::Picture PictureOf(const std::string& name) const override;
  void SetPicture(const std::string& name, ui::Picture picture) override;
  std::string Address(const std::string& name) const override;
  void Navigate(const std::string& name, const std::string& address) override;
  void ClearBrowserCookies(const std::string& name, const std::string& host) override;
  int Interval(const std::string& name) const override;
  void SetInterval(const std::string& name, int milliseconds) override;
  void SetVisible(bool visible) override;
  void Bind(const std::string& name, ui::Event event, ui::Handler handler) override;
  void ProcessEvents() override;
  void Pause(std::chrono::milliseconds duration) override;
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;
  void Wake() override;
  void MessageBox(const std::string& caption, const std::string& text) override;
  std::optional<std::string> AskFilePath(const std::string& caption) override;
  std::optional<std::string> ClipboardText() const override;
  void SetClipboardText(const std::string& text) override;
  ui::LocalTime Now() const override;

 private:
  // The browser engine is started only now, so the window shows at once.
  void FirstPaintDone();
  void Connect(const std::string& name, const FormWidget& control);
  void Dispatch(const std::string& name, ui::Event event, int arg);

  const FormWidget& Find(const std::string& name) const;
  // The control, after the rule that its kind has the operation.
  const FormWidget& Find(const std::string& name, ui::Operation operation) const;
  template <typename T>
  T* WidgetOf(const std::string& name, ui::Operation operation) const;
  // The view of a trend chart, nullptr for any other control.
  TrendChartView* ChartOf(const FormWidget& control) const;

  std::unique_ptr<QWidget> window_;
  std::unordered_map<std::string, FormWidget> controls_;
  std::unordered_map<std::string, ui::Picture> pictures_;  // what the picture boxes show
  std::map<std::pair<std::string, ui::Event>, ui::Handler> handlers_;
  EventLoopWaits waits_;
  std::vector<Message> messages_;
  std::vector<std::function<void()>> afterFirstPaint_;
  bool painted_ = false;
  bool settingRowCheck_ = false;  // the program, not the user, sets a row box
  std::chrono::milliseconds clockOffset_{0};
};

}  // namespace gui
