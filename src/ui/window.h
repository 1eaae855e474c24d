#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "base/local_time.h"
#include "base/waiter.h"

namespace ui {

enum class Event {
  Click,
  Tick,
  Progress,     // html viewer load progress, arg = percent
  RowClick,     // list view: the current row was picked
  RowActivate,  // list view: a row was double-clicked / activated
  RowCheck,     // list view with row check boxes: the user flipped row arg's box
  HeaderClick,  // list view: the caption of column arg was clicked
  ItemChosen,   // combo box: the user chose item arg
};

using Handler = std::function<void(int arg)>;

// Local wall-clock time: the draw schedule is defined in local time.
using LocalTime = base::LocalTime;

// A digit picture 0..9, or the placeholder shown before any draw.
struct Picture {
  static constexpr int kPlaceholder = -1;
  int digit = kPlaceholder;
  bool operator==(const Picture&) const = default;
};

// The control operations every behaviour is written against. Controls are
// addressed by their form names; naming an unknown control throws
// std::out_of_range (a programming error, never user input). A window is the
// waiter of whatever the window thread waits for (an HTTP answer, a pause
// between messages), so events keep running meanwhile.
class Window : public base::Waiter {
 public:
  virtual ~Window() = default;

  // Text of edit boxes and labels, caption of buttons, check and radio boxes.
  virtual std::string Text(const std::string& name) const = 0;
  virtual void SetText(const std::string& name, const std::string& text) = 0;
  virtual void AppendText(const std::string& name, const std::string& text) = 0;

  virtual bool Checked(const std::string& name) const = 0;
  virtual void SetChecked(const std::string& name, bool checked) = 0;

  virtual int CurrentIndex(const std::string& name) const = 0;
  virtual void SetCurrentIndex(const std::string& name, int index) = 0;
  virtual void ClearItems(const std::string& name) = 0;
  virtual void AddItem(const std::string& name, const std::string& text) = 0;
  virtual int ItemCount(const std::string& name) const = 0;
  virtual std::string ItemText(const std::string& name, int index) const = 0;

  virtual bool Enabled(const std::string& name) const = 0;
  virtual void SetEnabled(const std::string& name, bool enabled) = 0;

  virtual bool Selected(const std::string& name) const = 0;
  virtual void SetSelected(const std::string& name, bool selected) = 0;

  virtual int CurrentPage(const std::string& name) const = 0;
  virtual void SetCurrentPage(const std::string& name, int page) = 0;

  // List views. InsertRow with position -1 (or past the end) appends; it
  // returns the index of the new row.
  virtual int InsertRow(const std::string& name, int position) = 0;
  virtual void SetCell(const std::string& name, int row, int column, const std::string& text) = 0;
  virtual std::string Cell(const std::string& name, int row, int column) const = 0;
  virtual int RowCount(const std::string& name) const = 0;
  virtual void DeleteAllRows(const std::string& name) = 0;
  virtual int CurrentRow(const std::string& name) const = 0;  // -1 none
  virtual void SetCurrentRow(const std::string& name, int row) = 0;

  // List views with row check boxes; rows out of range read as unchecked and
  // ignore the setting.
  virtual bool RowChecked(const std::string& name, int row) const = 0;
  virtual void SetRowChecked(const std::string& name, int row, bool checked) = 0;

  // Trend charts: the column of a row drawn as a ball, -1 for none.
  virtual int RowMark(const std::string& name, int row) const = 0;
  virtual void SetRowMark(const std::string& name, int row, int column) = 0;

  // Progress bars, 0 to 100 (other values are clamped); Text reads "NN%".
  virtual int Progress(const std::string& name) const = 0;
  virtual void SetProgress(const std::string& name, int percent) = 0;

  virtual Picture PictureOf(const std::string& name) const = 0;
  virtual void SetPicture(const std::string& name, Picture picture) = 0;

  virtual std::string Address(const std::string& name) const = 0;
  virtual void Navigate(const std::string& name, const std::string& address) = 0;
  // Forgets what the viewer's own browser keeps for the host: its cookies.
  virtual void ClearBrowserCookies(const std::string& name, const std::string& host) = 0;

  virtual int Interval(const std::string& name) const = 0;
  virtual void SetInterval(const std::string& name, int milliseconds) = 0;  // 0 stops

  virtual void SetVisible(bool visible) = 0;

  // Handlers run on the window thread. Binding again replaces the handler.
  virtual void Bind(const std::string& name, Event event, Handler handler) = 0;

  // Runs what is pending (user input, due timer ticks) and returns.
  virtual void ProcessEvents() = 0;
  // Waits the given time while processing events.
  void Pause(std::chrono::milliseconds duration) override = 0;
  // Processes events until done() holds or the real-time limit has passed;
  // returns done(). Another thread calls Wake() to have done() looked at again
  // at once, so the wait never polls in a busy loop.
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override = 0;
  // Thread-safe.
  void Wake() override = 0;

  virtual void MessageBox(const std::string& caption, const std::string& text) = 0;
  // A path the user picks in a file dialog; nullopt when cancelled or when
  // the window has no dialog.
  virtual std::optional<std::string> AskFilePath(const std::string& caption) = 0;
  // nullopt when the clipboard holds no text.
  virtual std::optional<std::string> ClipboardText() const = 0;
  virtual void SetClipboardText(const std::string& text) = 0;

  virtual LocalTime Now() const = 0;
};

}  // namespace ui
