#include "gui/widget_factory.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "gui/fonts_and_theme.h"
#include "gui/html_viewer.h"
#include "gui/list_view.h"
#include "gui/pictures.h"
#include "gui/qt_text.h"
#include "gui/skin_button.h"
#include "gui/tab_control.h"
#include "gui/text_box.h"
#include "gui/trend_chart_view.h"
#include "ui/control_rules.h"
#include "ui/window.h"

namespace gui {
namespace {

using ui::ControlKind;

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
    auto* edit = new TextBox(parent);
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
  auto* list = new ListView(parent);
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

// Where a widget will lie in its parent: a tab control lays its pages out
// only once shown, but the style already knows where.
QRect PlannedGeometry(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  if (qobject_cast<const QStackedWidget*>(&widget) != nullptr) {
    if (auto* tabs = qobject_cast<const TabControl*>(parent)) return tabs->PageRect();
  }
  if (auto* pages = qobject_cast<const QStackedWidget*>(parent)) {
    return {QPoint(0, 0), PlannedGeometry(*pages).size()};
  }
  return widget.geometry();
}

// How far a widget reaches out of sight past each edge of the containers
// that clip it, the window included.
QMargins OutOfSight(const QWidget& widget, const QWidget& window) {
  QRect place(QPoint(0, 0), widget.size());
  QMargins out;
  for (const QWidget* w = &widget; w != &window; w = w->parentWidget()) {
    place.translate(PlannedGeometry(*w).topLeft());
    const QSize room =
        w->parentWidget() == &window ? window.size() : PlannedGeometry(*w->parentWidget()).size();
    out.setLeft(std::max(out.left(), -place.x()));
    out.setTop(std::max(out.top(), -place.y()));
    out.setRight(std::max(out.right(), place.x() + place.width() - room.width()));
    out.setBottom(std::max(out.bottom(), place.y() + place.height() - room.height()));
  }
  return out;
}

// What is out of sight beyond a frame that is out of sight too.
QMargins InsideFrame(const QMargins& out, int frame) {
  return {std::max(0, out.left() - frame), std::max(0, out.top() - frame),
          std::max(0, out.right() - frame), std::max(0, out.bottom() - frame)};
}

// A control that reaches out of sight keeps its place; what it shows stays
// where it can be seen: the plan pages' tab control starts left of its own
// page, and the one-key panel's result boxes run below the window. Counting
// the frame, out of sight too, in keeps the search list's columns beside its
// scroll bar. Single-line boxes and buttons reach out on the right by a few
// pixels at most, their text well inside; the draw video is cut on purpose
// by its panel.
void BringTextIntoSight(const ui::ControlDefinition& definition, QWidget* widget,
                        const QMargins& out) {
  switch (definition.kind) {
    case ControlKind::EditBox:
      if (auto* box = qobject_cast<TextBox*>(widget)) {
        box->SetTextMargins(InsideFrame(out, box->frameWidth()));
      }
      break;
    case ControlKind::ListView: {
      auto* list = static_cast<ListView*>(widget);
      list->SetTextMargins(InsideFrame(out, list->frameWidth()));
      break;
    }
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      widget->setContentsMargins(out);
      break;
    default:
      break;
  }
}

// The form's controls in order, each into the container built before it.
class FormBuild {
 public:
  explicit FormBuild(QWidget& window) : window_(window) {}

  std::unordered_map<std::string, FormWidget> Run() {
    for (const ui::ControlDefinition& control : ui::MainForm()) {
      FormWidget entry;
      entry.definition = &control;
      if (control.kind == ControlKind::Timer) {
        entry.timer = new QTimer(&window_);
        entry.timer->setObjectName(Q(control.name));
      } else {
        entry.widget = CreateWidget(control, ContainerOf(control));
        entry.widget->setObjectName(Q(control.name));
        entry.widget->setGeometry(control.geometry.left, control.geometry.top,
                                  control.geometry.width, control.geometry.height);
      }
      if (!controls_.emplace(control.name, entry).second) {
        throw std::logic_error("the form names " + control.name + " twice");
      }
    }
    PlaceTabChildren();
    for (const auto& [name, control] : controls_) {
      if (control.widget == nullptr) continue;
      const QMargins out = OutOfSight(*control.widget, window_);
      if (!out.isNull()) BringTextIntoSight(*control.definition, control.widget, out);
    }
    return std::move(controls_);
  }

 private:
  QWidget* ContainerOf(const ui::ControlDefinition& definition) const {
    if (definition.parent.empty()) {
      return &window_;
    }
    const auto parent = controls_.find(definition.parent);
    if (parent == controls_.end()) {
      ui::ThrowNoControl(definition.parent);
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(parent->second.widget)) {
      QWidget* page = tabs->widget(definition.page);
      if (page == nullptr) {
        throw std::logic_error(definition.name + " is on a page its tab control lacks");
      }
      return page;
    }
    return parent->second.widget;
  }

  QWidget* CreateWidget(const ui::ControlDefinition& definition, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (definition.kind) {
      case ControlKind::Label:
      case ControlKind::TransparentLabel: {
        auto* label = new QLabel(Q(definition.text), parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(HorizontalAlignment(definition.alignment) | Qt::AlignVCenter);
        label->setWordWrap(definition.multiLine);
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

  void AddRadioToGroup(const ui::ControlDefinition& definition, QWidget* radio) {
    QButtonGroup*& group = radioGroups_[ui::RadioGroup(definition)];
    if (group == nullptr) {
      group = new QButtonGroup(radio->parentWidget());
    }
    group->addButton(static_cast<QAbstractButton*>(radio));
  }

  // Pages whose children all sit below the tab strip were laid out in the
  // tab control's own coordinates: move them onto the page.
  void PlaceTabChildren() {
    for (const auto& [name, control] : controls_) {
      auto* tabs = qobject_cast<TabControl*>(control.widget);
      if (tabs == nullptr) {
        continue;
      }
      tabs->ensurePolished();
      const QPoint origin = tabs->PageOrigin();
      std::vector<const FormWidget*> children;
      for (const auto& [childName, child] : controls_) {
        if (child.definition->parent == name && child.widget != nullptr) {
          children.push_back(&child);
        }
      }
      const bool belowStrip = std::all_of(
          children.begin(), children.end(),
          [&](const FormWidget* c) { return c->definition->geometry.top >= origin.y(); });
      if (!belowStrip) {
        continue;
      }
      for (const FormWidget* child : children) {
        child->widget->move(child->definition->geometry.left - origin.x(),
                            child->definition->geometry.top - origin.y());
      }
    }
  }

  QWidget& window_;
  std::unordered_map<std::string, FormWidget> controls_;
  std::map<std::string, QButtonGroup*> radioGroups_;  // by ui::RadioGroup
};

}  // namespace

std::unordered_map<std::string, FormWidget> BuildMainWindow(QWidget& window) {
  const ui::WindowDefinition& definition = ui::MainWindowDefinition();
  window.setObjectName(QStringLiteral("主窗口"));
  window.setWindowTitle(Q(definition.caption));
  window.setWindowIcon(QIcon(WindowIconPixmap()));
  window.setFont(FormFont(ui::Font{}));
  window.move(definition.geometry.left, definition.geometry.top);
  // Every control sits at a fixed place: a larger window would only show
  // empty space.
  window.setFixedSize(definition.geometry.width, definition.geometry.height);
  return FormBuild(window).Run();
}

}  // namespace gui
