#include "gui/qt_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "gui/fonts_and_theme.h"
#include "gui/html_viewer.h"
#include "gui/list_view.h"
#include "gui/pictures.h"
#include "gui/qt_text.h"
#include "gui/skin_button.h"
#include "gui/trend_chart_view.h"
#include "ui/control_rules.h"

namespace gui {
namespace {

using ui::ControlKind;
using ui::Operation;

// A left click anywhere on a list view's rows area, after the view has moved
// its current row.
class ClickWatcher : public QObject {
 public:
  ClickWatcher(QObject* parent, std::function<void()> onClick)
      : QObject(parent), onClick_(std::move(onClick)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      onClick_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onClick_;
};

// The first paint event of a widget; `then` runs once the whole frame, the
// children's paint included, has gone to the screen.
class FirstPaintWatcher : public QObject {
 public:
  FirstPaintWatcher(QObject* parent, std::function<void()> then)
      : QObject(parent), then_(std::move(then)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && then_) {
      QTimer::singleShot(0, parent(), std::exchange(then_, nullptr));
      watched->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> then_;
};

}  // namespace

QtWindow::QtWindow() : window_(std::make_unique<QWidget>()) {
  InstallFontSubstitutes();
  if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    ApplySilverTheme(*application);
    // Some widgets lay out their first text in the application's font before
    // they take the form's: make the two the same, so no other font is loaded.
    QApplication::setFont(FormFont(ui::Font{}));
  }
  controls_ = BuildMainWindow(*window_);
  for (const ui::ControlDefinition& control : ui::MainForm()) {
    Connect(control.name, controls_.at(control.name));
  }
  window_->installEventFilter(new FirstPaintWatcher(window_.get(), [this] { FirstPaintDone(); }));
}

QtWindow::~QtWindow() = default;

void QtWindow::AfterFirstPaint(std::function<void()> then) {
  if (painted_) {
    QTimer::singleShot(0, window_.get(), std::move(then));
    return;
  }
  afterFirstPaint_.push_back(std::move(then));
}

void QtWindow::FirstPaintDone() {
  painted_ = true;
  for (auto& then : std::exchange(afterFirstPaint_, {})) {
    then();
  }
  if (!WebEngineUsable()) {
    return;
  }
  for (auto& [name, control] : controls_) {
    if (auto* viewer = qobject_cast<HtmlViewer*>(control.widget)) {
      viewer->CreateBrowser();
    }
  }
}

void QtWindow::Connect(const std::string& name, const FormWidget& control) {
  if (control.timer != nullptr) {
    QObject::connect(control.timer, &QTimer::timeout, window_.get(),
                     [this, name] { Dispatch(name, ui::Event::Tick, 0); });
    return;
  }
  if (auto* skin = qobject_cast<SkinButton*>(control.widget)) {
    QObject::connect(skin, &QAbstractButton::clicked, window_.get(), [this, name, skin] {
      if (skin->IsToggle()) {
        skin->SetSelected(!skin->Selected());
      }
      Dispatch(name, ui::Event::Click, 0);
    });
  } else if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
    QObject::connect(button, &QAbstractButton::clicked, window_.get(),
                     [this, name] { Dispatch(name, ui::Event::Click, 0); });
  } else if (auto* list = qobject_cast<QTreeWidget*>(control.widget)) {
    list->viewport()->installEventFilter(new ClickWatcher(list, [this, name, list] {
      Dispatch(name, ui::Event::RowClick, list->indexOfTopLevelItem(list->currentItem()));
    }));
    QObject::connect(list, &QTreeWidget::itemActivated, window_.get(),
                     [this, name, list](QTreeWidgetItem* item) {
                       Dispatch(name, ui::Event::RowActivate, list->indexOfTopLevelItem(item));
                     });
    list->header()->setSectionsClickable(true);
    QObject::connect(list->header(), &QHeaderView::sectionClicked, window_.get(),
                     [this, name](int column) { Dispatch(name, ui::Event::HeaderClick, column); });
    if (control.definition->rowCheckBoxes) {
      QObject::connect(list, &QTreeWidget::itemChanged, window_.get(),
                       [this, name, list](QTreeWidgetItem* item, int column) {
                         if (column == 0 && !settingRowCheck_) {
                           Dispatch(name, ui::Event::RowCheck, list->indexOfTopLevelItem(item));
                         }
                       });
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(control.widget)) {
    QObject::connect(combo, &QComboBox::activated, window_.get(),
                     [this, name](int index) { Dispatch(name, ui::Event::ItemChosen, index); });
  } else if (auto* viewer = qobject_cast<HtmlViewer*>(control.widget)) {
    viewer->OnProgress([this, name](int percent) { Dispatch(name, ui::Event::Progress, percent); });
  }
}

void QtWindow::Dispatch(const std::string& name, ui::Event event, int arg) {
  const auto it = handlers_.find({name, event});
  if (it == handlers_.end()) {
    return;
  }
  // The handler may bind again, replacing itself while it runs.
  const ui::Handler handler = it->second;
  try {
    handler(arg);
  } catch (const std::exception& error) {
    // An exception must not unwind through Qt's event loop.
    std::cerr << "lanzhou: the handler of " << name << " failed: " << error.what() << '\n';
  }
}

const FormWidget& QtWindow::Find(const std::string& name) const {
  const auto it = controls_.find(name);
  if (it == controls_.end()) {
    ui::ThrowNoControl(name);
  }
  return it->second;
}

const FormWidget& QtWindow::Find(const std::string& name, Operation operation) const {
  const FormWidget& control = Find(name);
  ui::RequireOperation(*control.definition, operation);
  return control;
}

template <typename T>
T* QtWindow::WidgetOf(const std::string& name, Operation operation) const {
  // Each kind has one widget class (BuildMainWindow).
  return static_cast<T*>(Find(name, operation).widget);
}

std::string QtWindow::Text(const std::string& name) const {
  const FormWidget& control = Find(name, Operation::ReadText);
  switch (control.definition->kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      return S(static_cast<QLabel*>(control.widget)->text());
    case ControlKind::EditBox:
      if (auto* edit = qobject_cast<QPlainTextEdit*>(control.widget)) {
        return FromDocument(edit->toPlainText());
      }
      return S(static_cast<QLineEdit*>(control.widget)->text());
    case ControlKind::ComboBox:  // reads as its current item
      return S(static_cast<QComboBox*>(control.widget)->currentText());
    case ControlKind::CheckBox:
    case ControlKind::RadioBox:
    case ControlKind::Button:
    case ControlKind::ImageButton:
      return S(static_cast<QAbstractButton*>(control.widget)->text());
    case ControlKind::GroupBox:
      return S(static_cast<QGroupBox*>(control.widget)->title());
    case ControlKind::ProgressBar:
      return ui::ProgressText(static_cast<QProgressBar*>(control.widget)->value());
    case ControlKind::Window:
    case ControlKind::ListView:
    case ControlKind::PictureBox:
    case ControlKind::HtmlViewer:
    case ControlKind::Timer:
    case ControlKind::Panel:
    case ControlKind::TabControl:
    case ControlKind::TrendChart:
      break;  // Find has refused these
  }
  throw std::logic_error(name + " has no text to read");
}

void QtWindow::SetText(const std::string& name, const std::string& text) {
  const FormWidget& control = Find(name, Operation::WriteText);
  switch (control.definition->kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      static_cast<QLabel*>(control.widget)->setText(Q(text));
      return;
    case ControlKind::EditBox:
      if (auto* edit = qobject_cast<QPlainTextEdit*>(control.widget)) {
        edit->setPlainText(ToDocument(text));
      } else {
        static_cast<QLineEdit*>(control.widget)->setText(Q(text));
      }
      return;
    case ControlKind::CheckBox:
    case ControlKind::RadioBox:
    case ControlKind::Button:
    case ControlKind::ImageButton:
      static_cast<QAbstractButton*>(control.widget)->setText(Q(text));
      return;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(control.widget)->setTitle(Q(text));
      return;
    case ControlKind::Window:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
    case ControlKind::PictureBox:
    case ControlKind::HtmlViewer:
    case ControlKind::Timer:
    case ControlKind::Panel:
    case ControlKind::TabControl:
    case ControlKind::ProgressBar:
    case ControlKind::TrendChart:
      break;  // Find has refused these
  }
  throw std::logic_error(name + " has no text to write");
}

void QtWindow::AppendText(const std::string& name, const std::string& text) {
  QWidget* widget = Find(name, Operation::Edit).widget;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(ToDocument(text));
    edit->moveCursor(QTextCursor::End);
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
  } else {
    auto* line = static_cast<QLineEdit*>(widget);
    line->setText(line->text() + Q(text));
    line->end(false);
  }
}

bool QtWindow::Checked(const std::string& name) const {
  return WidgetOf<QAbstractButton>(name, Operation::Check)->isChecked();
}

void QtWindow::SetChecked(const std::string& name, bool checked) {
  auto* button = WidgetOf<QAbstractButton>(name, Operation::Check);
  QButtonGroup* group = button->group();
  if (group != nullptr && !checked) {
    // An exclusive group refuses to uncheck its checked member; a radio box
    // set off by the program must still go off.
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
  } else {
    button->setChecked(checked);
  }
}

int QtWindow::CurrentIndex(const std::string& name) const {
  return WidgetOf<QComboBox>(name, Operation::Items)->currentIndex();
}

void QtWindow::SetCurrentIndex(const std::string& name, int index) {
  auto* combo = WidgetOf<QComboBox>(name, Operation::Items);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void QtWindow::ClearItems(const std::string& name) {
  WidgetOf<QComboBox>(name, Operation::Items)->clear();
}

void QtWindow::AddItem(const std::string& name, const std::string& text) {
  WidgetOf<QComboBox>(name, Operation::Items)->addItem(Q(text));
}

int QtWindow::ItemCount(const std::string& name) const {
  return WidgetOf<QComboBox>(name, Operation::Items)->count();
}

std::string QtWindow::ItemText(const std::string& name, int index) const {
  return S(WidgetOf<QComboBox>(name, Operation::Items)->itemText(index));
}

bool QtWindow::Enabled(const std::string& name) const {
  return Find(name, Operation::Enable).widget->isEnabled();
}

void QtWindow::SetEnabled(const std::string& name, bool enabled) {
  Find(name, Operation::Enable).widget->setEnabled(enabled);
}

bool QtWindow::Selected(const std::string& name) const {
  return WidgetOf<SkinButton>(name, Operation::Select)->Selected();
}

void QtWindow::SetSelected(const std::string& name, bool selected) {
  WidgetOf<SkinButton>(name, Operation::Select)->SetSelected(selected);
}

int QtWindow::CurrentPage(const std::string& name) const {
  return WidgetOf<QTabWidget>(name, Operation::Pages)->currentIndex();
}

void QtWindow::SetCurrentPage(const std::string& name, int page) {
  const FormWidget& control = Find(name, Operation::Pages);
  ui::RequirePage(*control.definition, page);
  static_cast<QTabWidget*>(control.widget)->setCurrentIndex(page);
}

int QtWindow::InsertRow(const std::string& name, int position) {
  const FormWidget& control = Find(name, Operation::Rows);
  if (TrendChartView* chart = ChartOf(control)) return chart->EditRows().Insert(position);
  auto* list = static_cast<QTreeWidget*>(control.widget);
  const int count = list->topLevelItemCount();
  const int row = position < 0 || position > count ? count : position;
  auto* item = new QTreeWidgetItem();
  if (control.definition->rowCheckBoxes) {
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
  }
  const bool wasSetting = std::exchange(settingRowCheck_, true);
  list->insertTopLevelItem(row, item);
  settingRowCheck_ = wasSetting;
  return row;
}

void QtWindow::SetCell(const std::string& name, int row, int column, const std::string& text) {
  const FormWidget& control = Find(name, Operation::Rows);
  if (TrendChartView* chart = ChartOf(control)) {
    chart->EditRows().SetCell(row, column, text);
    return;
  }
  auto* list = static_cast<ListView*>(control.widget);
  QTreeWidgetItem* item = list->topLevelItem(row);
  if (item != nullptr && column >= 0) {
    const bool wasSetting = std::exchange(settingRowCheck_, true);
    list->SetCellText(*item, column, Q(text));
    settingRowCheck_ = wasSetting;
  }
}

std::string QtWindow::Cell(const std::string& name, int row, int column) const {
  const FormWidget& control = Find(name, Operation::Rows);
  if (const TrendChartView* chart = ChartOf(control)) return chart->Rows().Cell(row, column);
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  return item != nullptr && column >= 0 ? S(item->text(column)) : std::string();
}

int QtWindow::RowCount(const std::string& name) const {
  const FormWidget& control = Find(name, Operation::Rows);
  if (const TrendChartView* chart = ChartOf(control)) return chart->Rows().Count();
  return static_cast<QTreeWidget*>(control.widget)->topLevelItemCount();
}

void QtWindow::DeleteAllRows(const std::string& name) {
  const FormWidget& control = Find(name, Operation::Rows);
  if (TrendChartView* chart = ChartOf(control)) {
    chart->EditRows().Clear();
    return;
  }
  static_cast<QTreeWidget*>(control.widget)->clear();
}

int QtWindow::CurrentRow(const std::string& name) const {
  const FormWidget& control = Find(name, Operation::Rows);
  if (ChartOf(control) != nullptr) return -1;  // a chart has no current row
  auto* list = static_cast<QTreeWidget*>(control.widget);
  return list->indexOfTopLevelItem(list->currentItem());
}

void QtWindow::SetCurrentRow(const std::string& name, int row) {
  const FormWidget& control = Find(name, Operation::Rows);
  if (ChartOf(control) != nullptr) return;
  auto* list = static_cast<QTreeWidget*>(control.widget);
  list->setCurrentItem(list->topLevelItem(row));
}

bool QtWindow::RowChecked(const std::string& name, int row) const {
  const FormWidget& control = Find(name);
  ui::RequireRowCheckBoxes(*control.definition);
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  return item != nullptr && item->checkState(0) == Qt::Checked;
}

void QtWindow::SetRowChecked(const std::string& name, int row, bool checked) {
  const FormWidget& control = Find(name);
  ui::RequireRowCheckBoxes(*control.definition);
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  if (item == nullptr) return;
  const bool wasSetting = std::exchange(settingRowCheck_, true);
  item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
  settingRowCheck_ = wasSetting;
}

int QtWindow::RowMark(const std::string& name, int row) const {
  return WidgetOf<TrendChartView>(name, Operation::Marks)->Rows().Mark(row);
}

void QtWindow::SetRowMark(const std::string& name, int row, int column) {
  WidgetOf<TrendChartView>(name, Operation::Marks)->EditRows().SetMark(row, column);
}

int QtWindow::Progress(const std::string& name) const {
  return WidgetOf<QProgressBar>(name, Operation::Progress)->value();
}

void QtWindow::SetProgress(const std::string& name, int percent) {
  WidgetOf<QProgressBar>(name, Operation::Progress)->setValue(ui::ClampPercent(percent));
}

TrendChartView* QtWindow::ChartOf(const FormWidget& control) const {
  return control.definition->kind == ControlKind::TrendChart
             ? static_cast<TrendChartView*>(control.widget)
             : nullptr;
}

ui::Picture QtWindow::PictureOf(const std::string& name) const {
  Find(name, Operation::Picture);
  const auto shown = pictures_.find(name);
  return shown != pictures_.end() ? shown->second : ui::Picture{};
}

void QtWindow::SetPicture(const std::string& name, ui::Picture picture) {
  auto* label = WidgetOf<QLabel>(name, Operation::Picture);
  ui::RequirePicture(name, picture);
  pictures_[name] = picture;
  label->setPixmap(DigitPixmap(picture.digit));
}

std::string QtWindow::Address(const std::string& name) const {
  return WidgetOf<HtmlViewer>(name, Operation::Browse)->Address();
}

void QtWindow::Navigate(const std::string& name, const std::string& address) {
  WidgetOf<HtmlViewer>(name, Operation::Browse)->Navigate(address);
}

void QtWindow::ClearBrowserCookies(const std::string& name, const std::string& host) {
  WidgetOf<HtmlViewer>(name, Operation::Browse)->ClearCookies(host);
}

int QtWindow::Interval(const std::string& name) const {
  const FormWidget& control = Find(name, Operation::Time);
  return control.timer->isActive() ? control.timer->interval() : 0;
}

void QtWindow::SetInterval(const std::string& name, int milliseconds) {
  const FormWidget& control = Find(name, Operation::Time);
  if (milliseconds <= 0) {
    control.timer->stop();
  } else {
    control.timer->start(milliseconds);
  }
}

void QtWindow::SetVisible(bool visible) {
  if (visible) {
    window_->show();
    window_->raise();
    window_->activateWindow();
  } else {
    window_->hide();
  }
}

void QtWindow::Bind(const std::string& name, ui::Event event, ui::Handler handler) {
  Find(name);
  handlers_[{name, event}] = std::move(handler);
}

void QtWindow::ProcessEvents() { waits_.ProcessEvents(); }

void QtWindow::Pause(std::chrono::milliseconds duration) { waits_.Pause(duration); }

bool QtWindow::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  return waits_.WaitUntil(done, limit);
}

void QtWindow::Wake() { waits_.Wake(); }

void QtWindow::MessageBox(const std::string& caption, const std::string& text) {
  messages_.push_back({caption, text});
  const char* logOnly = std::getenv("LANZHOU_MESSAGEBOX_LOG");
  if (logOnly != nullptr && *logOnly != '\0' && std::string(logOnly) != "0") {
    std::cerr << "lanzhou: message box [" << caption << "] " << text << '\n';
    return;
  }
  QMessageBox::information(window_.get(), Q(caption), Q(text));
}

std::optional<std::string> QtWindow::AskFilePath(const std::string& caption) {
  const QString path = QFileDialog::getSaveFileName(window_.get(), Q(caption), QString(), QString(),
                                                    nullptr, QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return S(path);
}

std::optional<std::string> QtWindow::ClipboardText() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) {
    return std::nullopt;
  }
  return S(data->text());
}

void QtWindow::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(Q(text));
}

ui::LocalTime QtWindow::Now() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  const std::chrono::local_days day{std::chrono::year(date.year()) /
                                    std::chrono::month(static_cast<unsigned>(date.month())) /
                                    std::chrono::day(static_cast<unsigned>(date.day()))};
  return ui::LocalTime(day) + std::chrono::hours(time.hour()) +
         std::chrono::minutes(time.minute()) + std::chrono::seconds(time.second()) +
         std::chrono::milliseconds(time.msec()) + clockOffset_;
}

void QtWindow::Click(const std::string& name) {
  const FormWidget& control = Find(name);
  if (control.widget == nullptr || !control.widget->isEnabled()) return;
  if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
    button->click();  // toggles as a user's click does, then Connect dispatches
    return;
  }
  Dispatch(name, ui::Event::Click, 0);
}

bool QtWindow::Type(const std::string& name, const std::string& text) {
  QWidget* widget = Find(name, Operation::Edit).widget;
  if (!widget->isEnabled()) return text.empty();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(ToDocument(text));
    return true;
  }
  // One character at a time through the box's validator, as keys arrive.
  auto* line = static_cast<QLineEdit*>(widget);
  bool allTaken = true;
  for (const QChar character : Q(text)) {
    const QString before = line->text();
    line->end(false);
    line->insert(QString(character));
    allTaken = allTaken && line->text() != before;
  }
  return allTaken;
}

void QtWindow::Choose(const std::string& name, int index) {
  SetCurrentIndex(name, index);
  if (Find(name).widget->isEnabled()) Dispatch(name, ui::Event::ItemChosen, CurrentIndex(name));
}

void QtWindow::CheckRow(const std::string& name, int row, bool checked) {
  const FormWidget& control = Find(name);
  ui::RequireRowCheckBoxes(*control.definition);
  if (!control.widget->isEnabled() || row < 0 || row >= RowCount(name)) return;
  SetRowChecked(name, row, checked);
  Dispatch(name, ui::Event::RowCheck, row);
}

void QtWindow::Fire(const std::string& name, ui::Event event, int arg) {
  Find(name);
  Dispatch(name, event, arg);
}

void QtWindow::Tick(const std::string& timer) {
  Find(timer, Operation::Time);
  Dispatch(timer, ui::Event::Tick, 0);
}

void QtWindow::SetClock(ui::LocalTime now) {
  clockOffset_ += std::chrono::duration_cast<std::chrono::milliseconds>(now - Now());
}

void QtWindow::AdvanceClock(std::chrono::milliseconds duration) { Pause(duration); }

base::Status QtWindow::Grab(const std::filesystem::path& file) {
  ProcessEvents();
  if (!window_->grab().save(QString::fromStdString(file.string()), "PNG")) {
    return base::Error{"cannot write a PNG to " + file.string()};
  }
  return base::Ok{};
}

}  // namespace gui
