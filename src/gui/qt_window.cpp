#include "gui/qt_window.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QValidator>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "gui/fonts_and_theme.h"
#include "gui/html_viewer.h"
#include "gui/pictures.h"
#include "gui/skin_button.h"
#include "gui/tab_control.h"
#include "gui/trend_chart_view.h"
#include "trend/trend_chart.h"
#include "ui/control_rules.h"

namespace gui {
namespace {

using ui::ControlKind;
using ui::Operation;

// Exit codes of the WaitUntil loop; anything else means the application is
// quitting and every wait must give up.
constexpr int kWoken = 1;
constexpr int kTimedOut = 2;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// Multi-line boxes hold CR LF line ends, as the texts written into them do;
// Qt documents keep LF only.
QString ToDocument(const std::string& text) {
  QString result = Q(text);
  result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return result;
}

std::string FromDocument(const QString& text) {
  QString result = text;
  result.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return S(result);
}

Qt::Alignment HorizontalAlignment(ui::Alignment alignment) {
  switch (alignment) {
    case ui::Alignment::Center:
      return Qt::AlignHCenter;
    case ui::Alignment::Right:
      return Qt::AlignRight;
    case ui::Alignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

QColor ToQColor(ui::Color color) { return QColor(color.red, color.green, color.blue); }

void ApplyColors(QWidget* widget, const ui::ControlDefinition& definition) {
  if (!definition.textColor && !definition.background) {
    return;
  }
  QPalette palette = widget->palette();
  if (definition.textColor) {
    const QColor color = ToQColor(*definition.textColor);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
  }
  if (definition.background) {
    const QColor color = ToQColor(*definition.background);
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget->setAutoFillBackground(true);
  }
  widget->setPalette(palette);
}

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

// The typing filter of the form applied to the text an edit leaves, the only
// thing a validator is shown.
class TypingValidator : public QValidator {
 public:
  TypingValidator(const ui::ControlDefinition& box, QObject* parent)
      : QValidator(parent), box_(box) {}

  State validate(QString& input, int& /*position*/) const override {
    return ui::CouldBeTyped(box_, S(input)) ? Acceptable : Invalid;
  }

 private:
  const ui::ControlDefinition& box_;
};

QWidget* CreateEditBox(const ui::ControlDefinition& definition, QWidget* parent) {
  if (definition.multiLine) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setPlainText(ToDocument(definition.text));
    edit->setVerticalScrollBarPolicy(definition.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(definition.horizontalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                      : Qt::ScrollBarAlwaysOff);
    // A box that scrolls sideways keeps its lines whole; otherwise they wrap.
    edit->setLineWrapMode(definition.horizontalScrollBar ? QPlainTextEdit::NoWrap
                                                         : QPlainTextEdit::WidgetWidth);
    return edit;
  }
  auto* edit = new QLineEdit(Q(definition.text), parent);
  edit->setAlignment(HorizontalAlignment(definition.alignment) | Qt::AlignVCenter);
  // The input rules bind what the user types, never what the program sets
  // (QLineEdit::setMaxLength would cut programmatic texts too).
  if (ui::LimitsTyping(definition)) {
    edit->setValidator(new TypingValidator(definition, edit));
  }
  return edit;
}

QWidget* CreateListView(const ui::ControlDefinition& definition, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  list->setColumnCount(std::max<int>(1, static_cast<int>(definition.columns.size())));
  QStringList captions;
  for (const ui::Column& column : definition.columns) {
    captions << Q(column.caption);
  }
  list->setHeaderLabels(captions);
  for (int i = 0; i < static_cast<int>(definition.columns.size()); ++i) {
    list->setColumnWidth(i, definition.columns[i].width);
  }
  return list;
}

}  // namespace

QtWindow::QtWindow() : window_(std::make_unique<QWidget>()) {
  InstallFontSubstitutes();
  if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    ApplySilverTheme(*application);
    // Some widgets lay out their first text in the application's font before
    // they take the form's: make the two the same, so no other font is loaded.
    QApplication::setFont(FormFont(ui::Font{}));
  }
  Build();
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

void QtWindow::Build() {
  const ui::WindowDefinition& definition = ui::MainWindowDefinition();
  window_->setObjectName(QStringLiteral("主窗口"));
  window_->setWindowTitle(Q(definition.caption));
  window_->setWindowIcon(QIcon(WindowIconPixmap()));
  window_->setFont(FormFont(ui::Font{}));
  window_->move(definition.geometry.left, definition.geometry.top);
  // Every control sits at a fixed place: a larger window would only show
  // empty space.
  window_->setFixedSize(definition.geometry.width, definition.geometry.height);

  for (const ui::ControlDefinition& control : ui::MainForm()) {
    QWidget* parent = ContainerOf(control);
    Control entry;
    entry.definition = &control;
    if (control.kind == ControlKind::Timer) {
      entry.timer = new QTimer(window_.get());
      entry.timer->setObjectName(Q(control.name));
    } else {
      entry.widget = CreateWidget(control, parent);
      entry.widget->setObjectName(Q(control.name));
      entry.widget->setGeometry(control.geometry.left, control.geometry.top, control.geometry.width,
                                control.geometry.height);
    }
    const auto [it, added] = controls_.emplace(control.name, entry);
    if (!added) {
      throw std::logic_error("the form names " + control.name + " twice");
    }
    Connect(control.name, it->second);
  }
  PlaceTabChildren();
}

QWidget* QtWindow::ContainerOf(const ui::ControlDefinition& definition) const {
  if (definition.parent.empty()) {
    return window_.get();
  }
  const Control& parent = Find(definition.parent);
  if (auto* tabs = qobject_cast<QTabWidget*>(parent.widget)) {
    QWidget* page = tabs->widget(definition.page);
    if (page == nullptr) {
      throw std::logic_error(definition.name + " is on a page its tab control lacks");
    }
    return page;
  }
  return parent.widget;
}

QWidget* QtWindow::CreateWidget(const ui::ControlDefinition& definition, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (definition.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel: {
      auto* label = new QLabel(Q(definition.text), parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(HorizontalAlignment(definition.alignment) | Qt::AlignVCenter);
      widget = label;
      break;
    }
    case ControlKind::EditBox:
      widget = CreateEditBox(definition, parent);
      break;
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      for (const std::string& item : definition.items) {
        combo->addItem(Q(item));
      }
      combo->setCurrentIndex(definition.selectedItem);
      combo->setMaxVisibleItems(20);
      widget = combo;
      break;
    }
    case ControlKind::CheckBox: {
      auto* check = new QCheckBox(Q(definition.text), parent);
      check->setChecked(definition.checked);
      widget = check;
      break;
    }
    case ControlKind::RadioBox: {
      auto* radio = new QRadioButton(Q(definition.text), parent);
      AddRadioToGroup(definition, radio);
      radio->setChecked(definition.checked);
      widget = radio;
      break;
    }
    case ControlKind::Button:
      widget = new QPushButton(Q(definition.text), parent);
      break;
    case ControlKind::ImageButton: {
      auto* button = new SkinButton(definition.skinned, definition.toggle, parent);
      button->setText(Q(definition.text));
      button->SetSelected(definition.initiallySelected);
      widget = button;
      break;
    }
    case ControlKind::ListView:
      widget = CreateListView(definition, parent);
      break;
    case ControlKind::TrendChart:
      widget = new TrendChartView(parent);
      break;
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setAlignment(Qt::AlignCenter);
      widget = bar;
      break;
    }
    case ControlKind::PictureBox: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignCenter);
      picture->setPixmap(DigitPixmap(ui::Picture::kPlaceholder));
      widget = picture;
      break;
    }
    case ControlKind::HtmlViewer:
      widget = new HtmlViewer(parent);
      break;
    case ControlKind::GroupBox:
      widget = new QGroupBox(Q(definition.text), parent);
      break;
    case ControlKind::Panel: {
      auto* panel = new QFrame(parent);
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      widget = panel;
      break;
    }
    case ControlKind::TabControl: {
      auto* tabs = new TabControl(parent);
      for (const std::string& caption : definition.pages) {
        tabs->addTab(new QWidget(tabs), Q(caption));
      }
      tabs->setCurrentIndex(0);
      widget = tabs;
      break;
    }
    case ControlKind::Window:
    case ControlKind::Timer:
      throw std::logic_error(definition.name + " is not a control with a widget");
  }
  widget->setFont(FormFont(definition.font));
  ApplyColors(widget, definition);
  return widget;
}

void QtWindow::AddRadioToGroup(const ui::ControlDefinition& definition, QWidget* radio) {
  QButtonGroup*& group = radioGroups_[ui::RadioGroup(definition)];
  if (group == nullptr) {
    group = new QButtonGroup(radio->parentWidget());
  }
  group->addButton(static_cast<QAbstractButton*>(radio));
}

void QtWindow::PlaceTabChildren() {
  for (const auto& [name, control] : controls_) {
    auto* tabs = qobject_cast<TabControl*>(control.widget);
    if (tabs == nullptr) {
      continue;
    }
    tabs->ensurePolished();
    const QPoint origin = tabs->PageOrigin();
    std::vector<const Control*> children;
    for (const auto& [childName, child] : controls_) {
      if (child.definition->parent == name && child.widget != nullptr) {
        children.push_back(&child);
      }
    }
    const bool belowStrip = std::all_of(children.begin(), children.end(), [&](const Control* c) {
      return c->definition->geometry.top >= origin.y();
    });
    if (!belowStrip) {
      continue;
    }
    for (const Control* child : children) {
      child->widget->move(child->definition->geometry.left - origin.x(),
                          child->definition->geometry.top - origin.y());
    }
  }
}

void QtWindow::Connect(const std::string& name, const Control& control) {
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

const QtWindow::Control& QtWindow::Find(const std::string& name) const {
  const auto it = controls_.find(name);
  if (it == controls_.end()) {
    ui::ThrowNoControl(name);
  }
  return it->second;
}

const QtWindow::Control& QtWindow::Find(const std::string& name, Operation operation) const {
  const Control& control = Find(name);
  ui::RequireOperation(*control.definition, operation);
  return control;
}

template <typename T>
T* QtWindow::WidgetOf(const std::string& name, Operation operation) const {
  // Each kind has one widget class (CreateWidget).
  return static_cast<T*>(Find(name, operation).widget);
}

std::string QtWindow::Text(const std::string& name) const {
  const Control& control = Find(name, Operation::ReadText);
  switch (control.definition->kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      return S(static_cast<QLabel*>(control.widget)->text());
    case ControlKind::EditBox:
      if (auto* edit = qobject_cast<QPlainTextEdit*>(control.widget)) {
        return FromDocument(edit->toPlainText());
      }
      return S(static_cast<QLineEdit*>(control.widget)->text());
    case ControlKind::CheckBox:
    case ControlKind::RadioBox:
    case ControlKind::Button:
    case ControlKind::ImageButton:
      return S(static_cast<QAbstractButton*>(control.widget)->text());
    case ControlKind::GroupBox:
      return S(static_cast<QGroupBox*>(control.widget)->title());
    case ControlKind::ProgressBar:
      return ui::ProgressText(static_cast<QProgressBar*>(control.widget)->value());
    default:  // a combo box reads as its current item
      return S(static_cast<QComboBox*>(control.widget)->currentText());
  }
}

void QtWindow::SetText(const std::string& name, const std::string& text) {
  const Control& control = Find(name, Operation::WriteText);
  switch (control.definition->kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      static_cast<QLabel*>(control.widget)->setText(Q(text));
      break;
    case ControlKind::EditBox:
      if (auto* edit = qobject_cast<QPlainTextEdit*>(control.widget)) {
        edit->setPlainText(ToDocument(text));
      } else {
        static_cast<QLineEdit*>(control.widget)->setText(Q(text));
      }
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioBox:
    case ControlKind::Button:
    case ControlKind::ImageButton:
      static_cast<QAbstractButton*>(control.widget)->setText(Q(text));
      break;
    default:  // a group box
      static_cast<QGroupBox*>(control.widget)->setTitle(Q(text));
      break;
  }
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
  const Control& control = Find(name, Operation::Pages);
  ui::RequirePage(*control.definition, page);
  static_cast<QTabWidget*>(control.widget)->setCurrentIndex(page);
}

int QtWindow::InsertRow(const std::string& name, int position) {
  Control& control = FindMutable(name, Operation::Rows);
  const int count = RowCount(name);
  const int row = position < 0 || position > count ? count : position;
  if (IsChart(control)) {
    control.chartRows.insert(control.chartRows.begin() + row, std::vector<std::string>{});
    control.chartMarks.insert(control.chartMarks.begin() + row, -1);
    ScheduleChartUpdate(name);
    return row;
  }
  auto* list = static_cast<QTreeWidget*>(control.widget);
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
  Control& control = FindMutable(name, Operation::Rows);
  if (IsChart(control)) {
    if (row < 0 || row >= static_cast<int>(control.chartRows.size()) || column < 0) return;
    auto& cells = control.chartRows[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size()))
      cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
    ScheduleChartUpdate(name);
    return;
  }
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  if (item != nullptr && column >= 0) {
    const bool wasSetting = std::exchange(settingRowCheck_, true);
    item->setText(column, Q(text));
    settingRowCheck_ = wasSetting;
  }
}

std::string QtWindow::Cell(const std::string& name, int row, int column) const {
  const Control& control = Find(name, Operation::Rows);
  if (IsChart(control)) {
    if (row < 0 || row >= static_cast<int>(control.chartRows.size()) || column < 0) return {};
    const auto& cells = control.chartRows[static_cast<std::size_t>(row)];
    return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                   : std::string();
  }
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  return item != nullptr && column >= 0 ? S(item->text(column)) : std::string();
}

int QtWindow::RowCount(const std::string& name) const {
  const Control& control = Find(name, Operation::Rows);
  if (IsChart(control)) return static_cast<int>(control.chartRows.size());
  return static_cast<QTreeWidget*>(control.widget)->topLevelItemCount();
}

void QtWindow::DeleteAllRows(const std::string& name) {
  Control& control = FindMutable(name, Operation::Rows);
  if (IsChart(control)) {
    control.chartRows.clear();
    control.chartMarks.clear();
    ScheduleChartUpdate(name);
    return;
  }
  static_cast<QTreeWidget*>(control.widget)->clear();
}

int QtWindow::CurrentRow(const std::string& name) const {
  const Control& control = Find(name, Operation::Rows);
  if (IsChart(control)) return -1;
  auto* list = static_cast<QTreeWidget*>(control.widget);
  return list->indexOfTopLevelItem(list->currentItem());
}

void QtWindow::SetCurrentRow(const std::string& name, int row) {
  const Control& control = Find(name, Operation::Rows);
  if (IsChart(control)) return;
  auto* list = static_cast<QTreeWidget*>(control.widget);
  list->setCurrentItem(list->topLevelItem(row));
}

bool QtWindow::RowChecked(const std::string& name, int row) const {
  const Control& control = Find(name);
  ui::RequireRowCheckBoxes(*control.definition);
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  return item != nullptr && item->checkState(0) == Qt::Checked;
}

void QtWindow::SetRowChecked(const std::string& name, int row, bool checked) {
  const Control& control = Find(name);
  ui::RequireRowCheckBoxes(*control.definition);
  QTreeWidgetItem* item = static_cast<QTreeWidget*>(control.widget)->topLevelItem(row);
  if (item == nullptr) return;
  const bool wasSetting = std::exchange(settingRowCheck_, true);
  item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
  settingRowCheck_ = wasSetting;
}

int QtWindow::RowMark(const std::string& name, int row) const {
  const Control& control = Find(name, Operation::Marks);
  if (row < 0 || row >= static_cast<int>(control.chartMarks.size())) return -1;
  return control.chartMarks[static_cast<std::size_t>(row)];
}

void QtWindow::SetRowMark(const std::string& name, int row, int column) {
  Control& control = FindMutable(name, Operation::Marks);
  if (row < 0 || row >= static_cast<int>(control.chartMarks.size())) return;
  control.chartMarks[static_cast<std::size_t>(row)] = column < 0 ? -1 : column;
  ScheduleChartUpdate(name);
}

int QtWindow::Progress(const std::string& name) const {
  return WidgetOf<QProgressBar>(name, Operation::Progress)->value();
}

void QtWindow::SetProgress(const std::string& name, int percent) {
  WidgetOf<QProgressBar>(name, Operation::Progress)->setValue(ui::ClampPercent(percent));
}

QtWindow::Control& QtWindow::FindMutable(const std::string& name, Operation operation) {
  Find(name, operation);
  return controls_.at(name);
}

bool QtWindow::IsChart(const Control& control) const {
  return control.definition->kind == ControlKind::TrendChart;
}

void QtWindow::ScheduleChartUpdate(const std::string& name) {
  if (std::find(pendingCharts_.begin(), pendingCharts_.end(), name) != pendingCharts_.end()) return;
  pendingCharts_.push_back(name);
  QMetaObject::invokeMethod(
      window_.get(), [this, name] { UpdateChart(name); }, Qt::QueuedConnection);
}

void QtWindow::UpdateChart(const std::string& name) {
  pendingCharts_.erase(std::remove(pendingCharts_.begin(), pendingCharts_.end(), name),
                       pendingCharts_.end());
  const Control& control = controls_.at(name);
  trend::TrendChart chart;
  chart.rows = control.chartRows;
  // The last rows are the summary band; the draw rows before it carry balls.
  const std::size_t drawRows =
      control.chartRows.size() -
      std::min<std::size_t>(control.chartRows.size(), trend::kSummaryRowCount);
  chart.ballColumns.assign(control.chartMarks.begin(),
                           control.chartMarks.begin() + static_cast<std::ptrdiff_t>(drawRows));
  static_cast<TrendChartView*>(control.widget)->SetChart(std::move(chart));
}

ui::Picture QtWindow::PictureOf(const std::string& name) const {
  return Find(name, Operation::Picture).picture;
}

void QtWindow::SetPicture(const std::string& name, ui::Picture picture) {
  Find(name, Operation::Picture);
  ui::RequirePicture(name, picture);
  Control& control = controls_.at(name);
  control.picture = picture;
  static_cast<QLabel*>(control.widget)->setPixmap(DigitPixmap(picture.digit));
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
  const Control& control = Find(name, Operation::Time);
  return control.timer->isActive() ? control.timer->interval() : 0;
}

void QtWindow::SetInterval(const std::string& name, int milliseconds) {
  const Control& control = Find(name, Operation::Time);
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

void QtWindow::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtWindow::Pause(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) {
    ProcessEvents();
    return;
  }
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(0); });
  timer.start(
      static_cast<int>(std::min<std::chrono::milliseconds::rep>(duration.count(), INT_MAX)));
  loop.exec();
}

bool QtWindow::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  // Limits beyond a year mean "no limit" and must not overflow the clock.
  const auto capped = std::min<std::chrono::milliseconds>(limit, std::chrono::hours(24 * 366));
  const Clock::time_point deadline = Clock::now() + capped;
  while (!done()) {
    const auto remaining =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (remaining <= 0) {
      break;
    }
    QEventLoop loop;
    QTimer limitTimer;
    limitTimer.setSingleShot(true);
    QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&loop] { loop.exit(kTimedOut); });
    limitTimer.start(static_cast<int>(std::min<long long>(remaining, INT_MAX)));
    // Handlers run inside the wait may settle done() too: look again whenever
    // the pending events are through, before the loop goes to sleep.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &loop, [&loop, &done] {
                       if (done()) {
                         loop.exit(kWoken);
                       }
                     });
    waits_.push_back(&loop);
    const int code = loop.exec();
    waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    if (code != kWoken && code != kTimedOut) {
      break;
    }
  }
  return done();
}

void QtWindow::Wake() {
  QMetaObject::invokeMethod(
      window_.get(),
      [this] {
        for (QEventLoop* loop : waits_) {
          loop->exit(kWoken);
        }
      },
      Qt::QueuedConnection);
}

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
  const Control& control = Find(name);
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
  const Control& control = Find(name);
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
