#include "ui/memory_window.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace ui {
namespace {

using std::chrono::milliseconds;

LocalTime RealLocalTime() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto sinceEpoch = std::chrono::duration_cast<milliseconds>(now.time_since_epoch()) +
                    std::chrono::seconds(local.tm_gmtoff);
  return LocalTime(sinceEpoch);
}

}  // namespace

MemoryWindow::MemoryWindow()
    : clockBase_(RealLocalTime()), clockAnchor_(std::chrono::steady_clock::now()) {
  for (const ControlDefinition& entry : MainForm()) {
    Control control;
    control.entry = &entry;
    control.text = entry.text;
    control.checked = entry.checked;
    control.items = entry.items;
    control.currentIndex = entry.selectedItem;
    control.selected = entry.initiallySelected;
    if (entry.kind == ControlKind::RadioBox) control.group = RadioGroup(entry);
    if (entry.kind == ControlKind::Timer) timerNames_.push_back(entry.name);
    controls_.emplace(entry.name, std::move(control));
  }
}

MemoryWindow::~MemoryWindow() = default;

MemoryWindow::Control& MemoryWindow::Find(const std::string& name) {
  auto found = controls_.find(name);
  if (found == controls_.end()) ThrowNoControl(name);
  return found->second;
}

const MemoryWindow::Control& MemoryWindow::Find(const std::string& name) const {
  auto found = controls_.find(name);
  if (found == controls_.end()) ThrowNoControl(name);
  return found->second;
}

MemoryWindow::Control& MemoryWindow::FindFor(const std::string& name, Operation operation) {
  return const_cast<Control&>(std::as_const(*this).FindFor(name, operation));
}

const MemoryWindow::Control& MemoryWindow::FindFor(const std::string& name,
                                                   Operation operation) const {
  const Control& control = Find(name);
  RequireOperation(*control.entry, operation);
  return control;
}

bool MemoryWindow::HasControl(const std::string& name) const { return controls_.contains(name); }

ControlKind MemoryWindow::KindOf(const std::string& name) const { return Find(name).entry->kind; }

bool MemoryWindow::Visible() const { return visible_; }

MemoryWindow::Control::Row* MemoryWindow::RowAt(Control& control, int row) {
  return const_cast<Control::Row*>(RowAt(std::as_const(control), row));
}

const MemoryWindow::Control::Row* MemoryWindow::RowAt(const Control& control, int row) const {
  if (row < 0 || row >= static_cast<int>(control.rows.size())) return nullptr;
  return &control.rows[static_cast<std::size_t>(row)];
}

void MemoryWindow::CheckRadio(Control& radio) {
  for (auto& [name, other] : controls_) {
    if (other.entry->kind == ControlKind::RadioBox && other.group == radio.group) {
      other.checked = false;
    }
  }
  radio.checked = true;
}

void MemoryWindow::RunHandler(const std::string& name, Event event, int arg) {
  Control& control = Find(name);
  auto found = control.handlers.find(event);
  if (found == control.handlers.end() || !found->second) return;
  // A copy, so that a handler may rebind itself while it runs.
  Handler handler = found->second;
  handler(arg);
}

void MemoryWindow::Click(const std::string& name) {
  Control& control = Find(name);
  if (!control.enabled) return;
  switch (control.entry->kind) {
    case ControlKind::ImageButton:
      if (control.entry->toggle) control.selected = !control.selected;
      break;
    case ControlKind::CheckBox:
      control.checked = !control.checked;
      break;
    case ControlKind::RadioBox:
      CheckRadio(control);
      break;
    case ControlKind::Window:
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
    case ControlKind::EditBox:
    case ControlKind::ComboBox:
    case ControlKind::Button:
    case ControlKind::ListView:
    case ControlKind::PictureBox:
    case ControlKind::HtmlViewer:
    case ControlKind::Timer:
    case ControlKind::GroupBox:
    case ControlKind::Panel:
    case ControlKind::TabControl:
    case ControlKind::ProgressBar:
    case ControlKind::TrendChart:
      break;  // a click changes nothing of theirs; the handler runs all the same
  }
  RunHandler(name, Event::Click, 0);
}

bool MemoryWindow::Type(const std::string& name, const std::string& text) {
  Control& control = FindFor(name, Operation::Edit);
  if (!control.enabled) return text.empty();
  Typed typed = TypeInto(*control.entry, std::move(control.text), text);
  control.text = std::move(typed.text);
  return typed.allTaken;
}

void MemoryWindow::Choose(const std::string& name, int index) {
  SetCurrentIndex(name, index);
  if (Find(name).enabled) RunHandler(name, Event::ItemChosen, CurrentIndex(name));
}

void MemoryWindow::CheckRow(const std::string& name, int row, bool checked) {
  Control& control = Find(name);
  RequireRowCheckBoxes(*control.entry);
  Control::Row* target = RowAt(control, row);
  if (!control.enabled || target == nullptr) return;
  target->checked = checked;
  RunHandler(name, Event::RowCheck, row);
}

void MemoryWindow::Fire(const std::string& name, Event event, int arg) {
  RunHandler(name, event, arg);
}

void MemoryWindow::Tick(const std::string& timer) {
  Control& control = FindFor(timer, Operation::Time);
  bool wasTicking = std::exchange(control.ticking, true);
  try {
    RunHandler(timer, Event::Tick, 0);
  } catch (...) {
    control.ticking = wasTicking;
    throw;
  }
  control.ticking = wasTicking;
}

void MemoryWindow::SetClock(LocalTime now) {
  clockBase_ = now;
  clockAnchor_ = std::chrono::steady_clock::now();
}

void MemoryWindow::MoveClockTo(LocalTime time) {
  if (time > Now()) SetClock(time);
}

LocalTime MemoryWindow::Now() const {
  auto elapsed = std::chrono::steady_clock::now() - clockAnchor_;
  return clockBase_ + std::chrono::duration_cast<milliseconds>(elapsed);
}

void MemoryWindow::RunDueTimers(LocalTime until) {
  for (;;) {
    Control* next = nullptr;
    const std::string* nextName = nullptr;
    for (const std::string& name : timerNames_) {
      Control& timer = controls_.at(name);
      if (timer.interval <= 0 || timer.ticking || timer.due > until) continue;
      if (next == nullptr || timer.due < next->due) {
        next = &timer;
        nextName = &name;
      }
    }
    if (next == nullptr) return;
    MoveClockTo(next->due);
    // Ticks missed while the clock was held up (a tick that paused) are
    // merged into one, as the platform does.
    LocalTime now = Now();
    next->due += milliseconds(next->interval);
    if (next->due <= now) next->due = now + milliseconds(next->interval);
    Tick(*nextName);
  }
}

void MemoryWindow::AdvanceClock(milliseconds duration) {
  LocalTime target = Now() + std::max(duration, milliseconds(0));
  RunDueTimers(target);
  MoveClockTo(target);
}

void MemoryWindow::ProcessEvents() { RunDueTimers(Now()); }

void MemoryWindow::Pause(milliseconds duration) { AdvanceClock(duration); }

bool MemoryWindow::WaitUntil(const std::function<bool()>& done, milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + std::max(limit, milliseconds(0));
  for (;;) {
    ProcessEvents();
    if (done()) return true;
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    auto wakeAt = deadline;
    LocalTime clock = Now();
    for (const std::string& name : timerNames_) {
      const Control& timer = controls_.at(name);
      if (timer.interval <= 0 || timer.ticking) continue;
      wakeAt = std::min(wakeAt, now + std::max(timer.due - clock, milliseconds(0)));
    }
    std::unique_lock lock(wakeMutex_);
    wakeCondition_.wait_until(lock, wakeAt, [this] { return woken_; });
    woken_ = false;
  }
}

void MemoryWindow::Wake() {
  {
    std::lock_guard lock(wakeMutex_);
    woken_ = true;
  }
  wakeCondition_.notify_all();
}

std::string MemoryWindow::Text(const std::string& name) const {
  const Control& control = FindFor(name, Operation::ReadText);
  if (control.entry->kind == ControlKind::ComboBox) {
    return ItemText(name, control.currentIndex);
  }
  if (control.entry->kind == ControlKind::ProgressBar) return ProgressText(control.progress);
  return control.text;
}

void MemoryWindow::SetText(const std::string& name, const std::string& text) {
  FindFor(name, Operation::WriteText).text = text;
}

void MemoryWindow::AppendText(const std::string& name, const std::string& text) {
  FindFor(name, Operation::Edit).text += text;
}

bool MemoryWindow::Checked(const std::string& name) const {
  return FindFor(name, Operation::Check).checked;
}

void MemoryWindow::SetChecked(const std::string& name, bool checked) {
  Control& control = FindFor(name, Operation::Check);
  if (checked && control.entry->kind == ControlKind::RadioBox) {
    CheckRadio(control);
  } else {
    control.checked = checked;
  }
}

int MemoryWindow::CurrentIndex(const std::string& name) const {
  return FindFor(name, Operation::Items).currentIndex;
}

void MemoryWindow::SetCurrentIndex(const std::string& name, int index) {
  Control& control = FindFor(name, Operation::Items);
  // An index outside the items selects nothing, as on the platform.
  bool inRange = index >= 0 && index < static_cast<int>(control.items.size());
  control.currentIndex = inRange ? index : -1;
}

void MemoryWindow::ClearItems(const std::string& name) {
  Control& control = FindFor(name, Operation::Items);
  control.items.clear();
  control.currentIndex = -1;
}

void MemoryWindow::AddItem(const std::string& name, const std::string& text) {
  FindFor(name, Operation::Items).items.push_back(text);
}

int MemoryWindow::ItemCount(const std::string& name) const {
  return static_cast<int>(FindFor(name, Operation::Items).items.size());
}

std::string MemoryWindow::ItemText(const std::string& name, int index) const {
  const Control& control = FindFor(name, Operation::Items);
  if (index < 0 || index >= static_cast<int>(control.items.size())) return "";
  return control.items[index];
}

bool MemoryWindow::Enabled(const std::string& name) const {
  return FindFor(name, Operation::Enable).enabled;
}

void MemoryWindow::SetEnabled(const std::string& name, bool enabled) {
  FindFor(name, Operation::Enable).enabled = enabled;
}

bool MemoryWindow::Selected(const std::string& name) const {
  return FindFor(name, Operation::Select).selected;
}

void MemoryWindow::SetSelected(const std::string& name, bool selected) {
  FindFor(name, Operation::Select).selected = selected;
}

int MemoryWindow::CurrentPage(const std::string& name) const {
  return FindFor(name, Operation::Pages).page;
}

void MemoryWindow::SetCurrentPage(const std::string& name, int page) {
  Control& control = FindFor(name, Operation::Pages);
  RequirePage(*control.entry, page);
  control.page = page;
}

int MemoryWindow::InsertRow(const std::string& name, int position) {
  Control& control = FindFor(name, Operation::Rows);
  int count = static_cast<int>(control.rows.size());
  if (position < 0 || position > count) position = count;
  control.rows.insert(control.rows.begin() + position, Control::Row{});
  // The current row follows its row, as the platform's selection does.
  if (control.currentRow >= position) ++control.currentRow;
  return position;
}

void MemoryWindow::SetCell(const std::string& name, int row, int column, const std::string& text) {
  Control::Row* target = RowAt(FindFor(name, Operation::Rows), row);
  if (target == nullptr || column < 0) return;
  std::vector<std::string>& cells = target->cells;
  if (column >= static_cast<int>(cells.size())) cells.resize(column + 1);
  cells[column] = text;
}

std::string MemoryWindow::Cell(const std::string& name, int row, int column) const {
  const Control::Row* target = RowAt(FindFor(name, Operation::Rows), row);
  if (target == nullptr) return "";
  const std::vector<std::string>& cells = target->cells;
  if (column < 0 || column >= static_cast<int>(cells.size())) return "";
  return cells[column];
}

int MemoryWindow::RowCount(const std::string& name) const {
  return static_cast<int>(FindFor(name, Operation::Rows).rows.size());
}

void MemoryWindow::DeleteAllRows(const std::string& name) {
  Control& control = FindFor(name, Operation::Rows);
  control.rows.clear();
  control.currentRow = -1;
}

int MemoryWindow::CurrentRow(const std::string& name) const {
  return FindFor(name, Operation::Rows).currentRow;
}

void MemoryWindow::SetCurrentRow(const std::string& name, int row) {
  Control& control = FindFor(name, Operation::Rows);
  bool inRange = row >= 0 && row < static_cast<int>(control.rows.size());
  control.currentRow = inRange ? row : -1;
}

bool MemoryWindow::RowChecked(const std::string& name, int row) const {
  const Control& control = Find(name);
  RequireRowCheckBoxes(*control.entry);
  const Control::Row* target = RowAt(control, row);
  return target != nullptr && target->checked;
}

void MemoryWindow::SetRowChecked(const std::string& name, int row, bool checked) {
  Control& control = Find(name);
  RequireRowCheckBoxes(*control.entry);
  if (Control::Row* target = RowAt(control, row)) target->checked = checked;
}

int MemoryWindow::RowMark(const std::string& name, int row) const {
  const Control::Row* target = RowAt(FindFor(name, Operation::Marks), row);
  return target == nullptr ? -1 : target->mark;
}

void MemoryWindow::SetRowMark(const std::string& name, int row, int column) {
  if (Control::Row* target = RowAt(FindFor(name, Operation::Marks), row)) {
    target->mark = column < 0 ? -1 : column;
  }
}

int MemoryWindow::Progress(const std::string& name) const {
  return FindFor(name, Operation::Progress).progress;
}

void MemoryWindow::SetProgress(const std::string& name, int percent) {
  FindFor(name, Operation::Progress).progress = ClampPercent(percent);
}

Picture MemoryWindow::PictureOf(const std::string& name) const {
  return FindFor(name, Operation::Picture).picture;
}

void MemoryWindow::SetPicture(const std::string& name, Picture picture) {
  Control& control = FindFor(name, Operation::Picture);
  RequirePicture(name, picture);
  control.picture = picture;
}

std::string MemoryWindow::Address(const std::string& name) const {
  return FindFor(name, Operation::Browse).address;
}

void MemoryWindow::Navigate(const std::string& name, const std::string& address) {
  FindFor(name, Operation::Browse).address = address;
}

void MemoryWindow::ClearBrowserCookies(const std::string& name, const std::string& host) {
  FindFor(name, Operation::Browse);
  cookieClearings_.push_back({name, host});
}

const std::vector<MemoryWindow::CookieClearing>& MemoryWindow::CookieClearings() const {
  return cookieClearings_;
}

int MemoryWindow::Interval(const std::string& name) const {
  return FindFor(name, Operation::Time).interval;
}

void MemoryWindow::SetInterval(const std::string& name, int milliseconds) {
  Control& control = FindFor(name, Operation::Time);
  control.interval = std::max(milliseconds, 0);
  if (control.interval > 0) control.due = Now() + std::chrono::milliseconds(control.interval);
}

void MemoryWindow::SetVisible(bool visible) { visible_ = visible; }

void MemoryWindow::Bind(const std::string& name, Event event, Handler handler) {
  Find(name).handlers[event] = std::move(handler);
}

void MemoryWindow::MessageBox(const std::string& caption, const std::string& text) {
  messages_.push_back({caption, text});
}

const std::vector<MemoryWindow::Message>& MemoryWindow::Messages() const { return messages_; }

std::optional<std::string> MemoryWindow::AskFilePath(const std::string& /*caption*/) {
  return std::exchange(nextFilePath_, std::nullopt);
}

void MemoryWindow::SetNextFilePath(std::string path) { nextFilePath_ = std::move(path); }

base::Status MemoryWindow::Grab(const std::filesystem::path& /*file*/) {
  return base::Error{"the window in memory has no picture; run the console with --qt"};
}

std::optional<std::string> MemoryWindow::ClipboardText() const { return clipboard_; }

void MemoryWindow::SetClipboardText(const std::string& text) { clipboard_ = text; }

}  // namespace ui
