#include "ui/memory_window.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>
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

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Window:
      return "window";
    case ControlKind::Label:
      return "label";
    case ControlKind::TransparentLabel:
      return "transparent label";
    case ControlKind::EditBox:
      return "edit box";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::CheckBox:
      return "check box";
    case ControlKind::RadioBox:
      return "radio box";
    case ControlKind::Button:
      return "button";
    case ControlKind::ImageButton:
      return "image button";
    case ControlKind::ListView:
      return "list view";
    case ControlKind::PictureBox:
      return "picture box";
    case ControlKind::HtmlViewer:
      return "HTML viewer";
    case ControlKind::Timer:
      return "timer";
    case ControlKind::GroupBox:
      return "group box";
    case ControlKind::Panel:
      return "panel";
    case ControlKind::TabControl:
      return "tab control";
  }
  return "control";
}

// Radio boxes exclude each other within their container; the pages of a tab
// control are containers of their own.
std::string RadioGroup(const ControlSpec& entry) {
  return entry.parent + "#" + std::to_string(entry.page);
}

// Length in bytes of the UTF-8 character starting with `lead`.
std::size_t CharacterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

int CharacterCount(const std::string& text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text[i])) ++count;
  return count;
}

constexpr std::initializer_list<ControlKind> kTextKinds{
    ControlKind::Label,    ControlKind::TransparentLabel, ControlKind::EditBox,
    ControlKind::Button,   ControlKind::ImageButton,      ControlKind::CheckBox,
    ControlKind::RadioBox, ControlKind::GroupBox};

}  // namespace

MemoryWindow::MemoryWindow()
    : clockBase_(RealLocalTime()), clockAnchor_(std::chrono::steady_clock::now()) {
  for (const ControlSpec& entry : MainForm()) {
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
  if (found == controls_.end()) throw std::out_of_range("no control named " + name);
  return found->second;
}

const MemoryWindow::Control& MemoryWindow::Find(const std::string& name) const {
  auto found = controls_.find(name);
  if (found == controls_.end()) throw std::out_of_range("no control named " + name);
  return found->second;
}

MemoryWindow::Control& MemoryWindow::FindOf(const std::string& name,
                                            std::initializer_list<ControlKind> kinds) {
  return const_cast<Control&>(std::as_const(*this).FindOf(name, kinds));
}

const MemoryWindow::Control& MemoryWindow::FindOf(const std::string& name,
                                                  std::initializer_list<ControlKind> kinds) const {
  const Control& control = Find(name);
  if (std::find(kinds.begin(), kinds.end(), control.entry->kind) == kinds.end()) {
    throw std::invalid_argument(name + " is a " + KindName(control.entry->kind) +
                                ", which does not have this operation");
  }
  return control;
}

bool MemoryWindow::HasControl(const std::string& name) const { return controls_.contains(name); }

ControlKind MemoryWindow::KindOf(const std::string& name) const { return Find(name).entry->kind; }

bool MemoryWindow::Visible() const { return visible_; }

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
    default:
      break;
  }
  RunHandler(name, Event::Click, 0);
}

bool MemoryWindow::Type(const std::string& name, const std::string& text) {
  Control& control = FindOf(name, {ControlKind::EditBox});
  if (!control.enabled) return text.empty();
  const ControlSpec& entry = *control.entry;
  int length = CharacterCount(control.text);
  bool allTaken = true;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t size = std::min(CharacterLength(text[i]), text.size() - i);
    std::string character = text.substr(i, size);
    i += size;
    bool isDigit = size == 1 && character[0] >= '0' && character[0] <= '9';
    if ((entry.digitsOnly && !isDigit) || (entry.maxLength > 0 && length >= entry.maxLength)) {
      allTaken = false;
      continue;
    }
    control.text += character;
    ++length;
  }
  return allTaken;
}

void MemoryWindow::Fire(const std::string& name, Event event, int arg) {
  RunHandler(name, event, arg);
}

void MemoryWindow::Tick(const std::string& timer) {
  Control& control = FindOf(timer, {ControlKind::Timer});
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
  const Control& control = Find(name);
  if (control.entry->kind == ControlKind::ComboBox) {
    return ItemText(name, control.currentIndex);
  }
  return FindOf(name, kTextKinds).text;
}

void MemoryWindow::SetText(const std::string& name, const std::string& text) {
  FindOf(name, kTextKinds).text = text;
}

void MemoryWindow::AppendText(const std::string& name, const std::string& text) {
  FindOf(name, {ControlKind::EditBox}).text += text;
}

bool MemoryWindow::Checked(const std::string& name) const {
  return FindOf(name, {ControlKind::CheckBox, ControlKind::RadioBox}).checked;
}

void MemoryWindow::SetChecked(const std::string& name, bool checked) {
  Control& control = FindOf(name, {ControlKind::CheckBox, ControlKind::RadioBox});
  if (checked && control.entry->kind == ControlKind::RadioBox) {
    CheckRadio(control);
  } else {
    control.checked = checked;
  }
}

int MemoryWindow::CurrentIndex(const std::string& name) const {
  return FindOf(name, {ControlKind::ComboBox}).currentIndex;
}

void MemoryWindow::SetCurrentIndex(const std::string& name, int index) {
  Control& control = FindOf(name, {ControlKind::ComboBox});
  // An index outside the items selects nothing, as on the platform.
  bool inRange = index >= 0 && index < static_cast<int>(control.items.size());
  control.currentIndex = inRange ? index : -1;
}

void MemoryWindow::ClearItems(const std::string& name) {
  Control& control = FindOf(name, {ControlKind::ComboBox});
  control.items.clear();
  control.currentIndex = -1;
}

void MemoryWindow::AddItem(const std::string& name, const std::string& text) {
  FindOf(name, {ControlKind::ComboBox}).items.push_back(text);
}

int MemoryWindow::ItemCount(const std::string& name) const {
  return static_cast<int>(FindOf(name, {ControlKind::ComboBox}).items.size());
}

std::string MemoryWindow::ItemText(const std::string& name, int index) const {
  const Control& control = FindOf(name, {ControlKind::ComboBox});
  if (index < 0 || index >= static_cast<int>(control.items.size())) return "";
  return control.items[index];
}

bool MemoryWindow::Enabled(const std::string& name) const {
  const Control& control = Find(name);
  if (control.entry->kind == ControlKind::Timer) {
    throw std::invalid_argument(name + " is a timer, which cannot be enabled or disabled");
  }
  return control.enabled;
}

void MemoryWindow::SetEnabled(const std::string& name, bool enabled) {
  Control& control = Find(name);
  if (control.entry->kind == ControlKind::Timer) {
    throw std::invalid_argument(name + " is a timer, which cannot be enabled or disabled");
  }
  control.enabled = enabled;
}

bool MemoryWindow::Selected(const std::string& name) const {
  return FindOf(name, {ControlKind::ImageButton}).selected;
}

void MemoryWindow::SetSelected(const std::string& name, bool selected) {
  FindOf(name, {ControlKind::ImageButton}).selected = selected;
}

int MemoryWindow::CurrentPage(const std::string& name) const {
  return FindOf(name, {ControlKind::TabControl}).page;
}

void MemoryWindow::SetCurrentPage(const std::string& name, int page) {
  Control& control = FindOf(name, {ControlKind::TabControl});
  if (page < 0 || page >= static_cast<int>(control.entry->pages.size())) {
    throw std::out_of_range(name + " has no page " + std::to_string(page));
  }
  control.page = page;
}

int MemoryWindow::InsertRow(const std::string& name, int position) {
  Control& control = FindOf(name, {ControlKind::ListView});
  int count = static_cast<int>(control.rows.size());
  if (position < 0 || position > count) position = count;
  control.rows.insert(control.rows.begin() + position, std::vector<std::string>{});
  // The current row follows its row, as the platform's selection does.
  if (control.currentRow >= position) ++control.currentRow;
  return position;
}

void MemoryWindow::SetCell(const std::string& name, int row, int column, const std::string& text) {
  Control& control = FindOf(name, {ControlKind::ListView});
  if (row < 0 || row >= static_cast<int>(control.rows.size()) || column < 0) return;
  std::vector<std::string>& cells = control.rows[row];
  if (column >= static_cast<int>(cells.size())) cells.resize(column + 1);
  cells[column] = text;
}

std::string MemoryWindow::Cell(const std::string& name, int row, int column) const {
  const Control& control = FindOf(name, {ControlKind::ListView});
  if (row < 0 || row >= static_cast<int>(control.rows.size())) return "";
  const std::vector<std::string>& cells = control.rows[row];
  if (column < 0 || column >= static_cast<int>(cells.size())) return "";
  return cells[column];
}

int MemoryWindow::RowCount(const std::string& name) const {
  return static_cast<int>(FindOf(name, {ControlKind::ListView}).rows.size());
}

void MemoryWindow::DeleteAllRows(const std::string& name) {
  Control& control = FindOf(name, {ControlKind::ListView});
  control.rows.clear();
  control.currentRow = -1;
}

int MemoryWindow::CurrentRow(const std::string& name) const {
  return FindOf(name, {ControlKind::ListView}).currentRow;
}

void MemoryWindow::SetCurrentRow(const std::string& name, int row) {
  Control& control = FindOf(name, {ControlKind::ListView});
  bool inRange = row >= 0 && row < static_cast<int>(control.rows.size());
  control.currentRow = inRange ? row : -1;
}

Picture MemoryWindow::PictureOf(const std::string& name) const {
  return FindOf(name, {ControlKind::PictureBox}).picture;
}

void MemoryWindow::SetPicture(const std::string& name, Picture picture) {
  Control& control = FindOf(name, {ControlKind::PictureBox});
  if (picture.digit != Picture::kPlaceholder && (picture.digit < 0 || picture.digit > 9)) {
    throw std::invalid_argument(name + ": no picture for digit " + std::to_string(picture.digit));
  }
  control.picture = picture;
}

std::string MemoryWindow::Address(const std::string& name) const {
  return FindOf(name, {ControlKind::HtmlViewer}).address;
}

void MemoryWindow::Navigate(const std::string& name, const std::string& address) {
  FindOf(name, {ControlKind::HtmlViewer}).address = address;
}

int MemoryWindow::Interval(const std::string& name) const {
  return FindOf(name, {ControlKind::Timer}).interval;
}

void MemoryWindow::SetInterval(const std::string& name, int milliseconds) {
  Control& control = FindOf(name, {ControlKind::Timer});
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

std::optional<std::string> MemoryWindow::ClipboardText() const { return clipboard_; }

void MemoryWindow::SetClipboardText(const std::string& text) { clipboard_ = text; }

}  // namespace ui
