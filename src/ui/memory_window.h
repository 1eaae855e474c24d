#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/control_rules.h"
#include "ui/driven_window.h"
#include "ui/form.h"
#include "ui/window.h"

namespace ui {

// The main window without a display: every control of MainForm() held in
// memory, with the input rules a user meets on the real window. Used by the
// console and by every test of behaviour written against ui::Window.
//
// Time is a clock of its own: it runs with real time from where SetClock put
// it (real local time by default), and every Pause moves it forward at once by
// the pause's length instead of sleeping, ticking the timers due on the way.
//
// Everything runs on the thread that owns the window; only Wake() may be
// called from other threads.
class MemoryWindow : public DrivenWindow {
 public:
  // A browser cookie clearing the window was asked for.
  struct CookieClearing {
    std::string viewer;
    std::string host;
    bool operator==(const CookieClearing&) const = default;
  };

  MemoryWindow();
  ~MemoryWindow() override;
  MemoryWindow(const MemoryWindow&) = delete;
  MemoryWindow& operator=(const MemoryWindow&) = delete;

  bool HasControl(const std::string& name) const;
  ControlKind KindOf(const std::string& name) const;
  bool Visible() const;

  // What a file dialog answers next (once); without one it is cancelled.
  void SetNextFilePath(std::string path);
  const std::vector<CookieClearing>& CookieClearings() const;

  // ui::DrivenWindow
  void Click(const std::string& name) override;
  bool Type(const std::string& name, const std::string& text) override;
  void Choose(const std::string& name, int index) override;
  void CheckRow(const std::string& name, int row, bool checked) override;
  void Fire(const std::string& name, Event event, int arg = 0) override;
  void Tick(const std::string& timer) override;
  void SetClock(LocalTime now) override;
  void AdvanceClock(std::chrono::milliseconds duration) override;
  const std::vector<Message>& Messages() const override;
  // There is no picture of a window in memory.
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
  Picture PictureOf(const std::string& name) const override;
  void SetPicture(const std::string& name, Picture picture) override;
  std::string Address(const std::string& name) const override;
  void Navigate(const std::string& name, const std::string& address) override;
  void ClearBrowserCookies(const std::string& name, const std::string& host) override;
  int Interval(const std::string& name) const override;
  void SetInterval(const std::string& name, int milliseconds) override;
  void SetVisible(bool visible) override;
  void Bind(const std::string& name, Event event, Handler handler) override;
  void ProcessEvents() override;
  void Pause(std::chrono::milliseconds duration) override;
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;
  void Wake() override;
  void MessageBox(const std::string& caption, const std::string& text) override;
  std::optional<std::string> AskFilePath(const std::string& caption) override;
  std::optional<std::string> ClipboardText() const override;
  void SetClipboardText(const std::string& text) override;
  LocalTime Now() const override;

 private:
  struct Control {
    const ControlDefinition* entry = nullptr;
    std::string group;  // radio boxes: the container they share a group with
    std::string text;
    bool checked = false;
    std::vector<std::string> items;
    int currentIndex = -1;
    bool enabled = true;
    bool selected = false;
    int page = 0;
    struct Row {
      std::vector<std::string> cells;
      bool checked = false;
      int mark = -1;
    };
    std::vector<Row> rows;
    int currentRow = -1;
    int progress = 0;
    Picture picture;
    std::string address;
    int interval = 0;
    LocalTime due{};
    bool ticking = false;  // inside its own Tick handler
    std::map<Event, Handler> handlers;
  };

  Control& Find(const std::string& name);
  const Control& Find(const std::string& name) const;
  // The control, after the rule that its kind has the operation.
  Control& FindFor(const std::string& name, Operation operation);
  const Control& FindFor(const std::string& name, Operation operation) const;
  void CheckRadio(Control& radio);
  // The row, or nullptr when out of range.
  Control::Row* RowAt(Control& control, int row);
  const Control::Row* RowAt(const Control& control, int row) const;
  void RunHandler(const std::string& name, Event event, int arg);
  // Ticks the running timers due no later than `until`, earliest first,
  // moving the clock to each due time on the way.
  void RunDueTimers(LocalTime until);
  void MoveClockTo(LocalTime time);

  std::unordered_map<std::string, Control> controls_;
  std::vector<std::string> timerNames_;  // form order, for ties between timers
  bool visible_ = false;
  std::vector<Message> messages_;
  std::optional<std::string> clipboard_;
  std::optional<std::string> nextFilePath_;
  std::vector<CookieClearing> cookieClearings_;

  // Now() = clockBase_ + real time since clockAnchor_.
  LocalTime clockBase_;
  std::chrono::steady_clock::time_point clockAnchor_;

  std::mutex wakeMutex_;
  std::condition_variable wakeCondition_;
  bool woken_ = false;  // guarded by wakeMutex_
};

}  // namespace ui
