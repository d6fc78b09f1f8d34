#include "control_window_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "app_views.h"

namespace mirasketch {

namespace {

constexpr int kSpeedGlyphSize = 24;
constexpr const char* kGroupStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px;"
    " background-color: palette(window); }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px;"
    " padding: 0px 2px; }";

QColor FromCoreColour(int colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// Sets a button's down state exactly. A button of an exclusive group cannot be released by
// itself in Qt; the core may still want none of the group down.
void SetDown(QAbstractButton* button, bool down) {
  if (button->isChecked() == down) return;
  if (!down && button->autoExclusive()) {
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  } else {
    button->setChecked(down);
  }
}

void SetText(QAbstractButton* button, const QString& text) {
  if (button->text() != text) button->setText(text);
}

// The items of a radio group, top to bottom.
QList<QRadioButton*> RadioItems(QWidget* group) {
  return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// The radio items' place in their group: one line each below the frame's title line.
constexpr int kRadioItemLeft = 8;
constexpr int kRadioItemTop = 14;
constexpr int kRadioItemHeight = 16;

}  // namespace

PaintBoxView::PaintBoxView(ControlWindow& window, const ControlSpec& design, QWidget* parent)
    : QWidget(parent), window_(window), name_(design.name) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBoxView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const PaintBox* box = window_.Paint(name_);
  if (box == nullptr) return;
  const QImage image = ImageFromDib(box->image, width(), height());
  if (image.isNull())
    painter.fillRect(rect(), palette().window());
  else
    painter.drawImage(0, 0, image);
  painter.setFont(font());
  const int ascent = QFontMetrics(font()).ascent();
  for (const PaintText& text : box->texts) {
    painter.setPen(FromCoreColour(text.colour));
    painter.drawText(QPoint(text.x, text.y + ascent), QString::fromStdString(text.text));
  }
}

void PaintBoxView::mousePressEvent(QMouseEvent* event) {
  if (pressed) pressed(event);
}

void PaintBoxView::mouseMoveEvent(QMouseEvent* event) {
  if (moved) moved(event);
}

void PaintBoxView::mouseReleaseEvent(QMouseEvent* event) {
  if (released) released(event);
}

void PaintBoxView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press as well.
  if (pressed) pressed(event);
  if (doubleClicked) doubleClicked(event);
}

void PaintBoxView::dragEnterEvent(QDragEnterEvent* event) {
  if (accepts && accepts(event->mimeData()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void PaintBoxView::dragMoveEvent(QDragMoveEvent* event) {
  if (accepts && accepts(event->mimeData()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void PaintBoxView::dropEvent(QDropEvent* event) {
  if (!accepts || !accepts(event->mimeData()) || !dropped) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  dropped(event);
}

namespace {

// The data type of a paint-box drag: "<window>.<paint box> <process id>", so that a drag from
// another running copy of the program is not taken for one of ours.
constexpr const char* kDragType = "application/x-mirasketch-paint-box-drag";

}  // namespace

QMimeData* ControlWindowView::DragData(std::string_view window, std::string_view paintBox) {
  auto* data = new QMimeData;
  data->setData(kDragType,
                QByteArray(window.data(), static_cast<qsizetype>(window.size())) + '.' +
                    QByteArray(paintBox.data(), static_cast<qsizetype>(paintBox.size())) + ' ' +
                    QByteArray::number(QCoreApplication::applicationPid()));
  return data;
}

std::optional<std::pair<std::string, std::string>> ControlWindowView::DragSource(
    const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(kDragType)) return std::nullopt;
  const QList<QByteArray> fields = data->data(kDragType).split(' ');
  if (fields.size() != 2) return std::nullopt;
  bool pidOk = false;
  if (fields[1].toLongLong(&pidOk) != QCoreApplication::applicationPid() || !pidOk)
    return std::nullopt;
  const QList<QByteArray> names = fields[0].split('.');
  if (names.size() != 2 || names[0].isEmpty() || names[1].isEmpty()) return std::nullopt;
  return std::pair{names[0].toStdString(), names[1].toStdString()};
}

QPixmap ControlWindowView::DragPixmap(const std::string&) const {
  return {};
}

void ControlWindowView::RunDrag(const std::string& paintBox) {
  QWidget* source = Control(paintBox);
  if (source == nullptr) return;
  auto* drag = new QDrag(source);
  drag->setMimeData(DragData(designName_, paintBox));
  if (const QPixmap pixmap = DragPixmap(paintBox); !pixmap.isNull()) drag->setPixmap(pixmap);
  drag->exec(Qt::CopyAction | Qt::MoveAction);
}

ControlWindowView::ControlWindowView(const WindowRow& design, ControlWindow& window,
                                     AppViews& views, std::function<void()> hidden)
    : ToolWindowView(design, views, std::move(hidden)),
      startDrag([this](const std::string& paintBox) { RunDrag(paintBox); }),
      window_(window),
      designName_(design.designName) {
  const ControlSet& controls = window_.Controls();
  widgets_.reserve(controls.Specs().size());
  for (const ControlSpec& design : controls.Specs()) {
    QWidget* parent = this;
    if (design.parent[0] != '\0') {
      const int index = controls.Find(design.parent);
      if (index >= 0 && static_cast<std::size_t>(index) < widgets_.size())
        parent = widgets_[static_cast<std::size_t>(index)];
      else
        qWarning("Control %s: parent %s comes later or not at all", design.name, design.parent);
    }
    widgets_.push_back(Create(design, parent));
  }
  ControlWindowView::ReadState();
}

QWidget* ControlWindowView::Create(const ControlSpec& design, QWidget* parent) {
  const QString caption = QString::fromUtf8(design.caption);
  const char* name = design.name;  // the design table outlives the window
  auto click = [this, name] { Forward([this, name] { window_.Click(name); }); };
  auto change = [this, name](int value) {
    Forward([this, name, value] { window_.Change(name, value); });
  };
  QWidget* widget = nullptr;
  switch (design.kind) {
    case ControlKind::kButton: {
      auto* button = new QPushButton(caption, parent);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, click);
      widget = button;
      break;
    }
    case ControlKind::kSpeedButton:
    case ControlKind::kToggleButton: {
      auto* button = new QToolButton(parent);
      button->setCheckable(true);
      button->setFocusPolicy(Qt::NoFocus);
      if (design.kind == ControlKind::kSpeedButton) {
        // One tool of a group is down; clicking the down one keeps it down.
        button->setAutoExclusive(true);
        button->setAutoRaise(false);
        button->setIconSize(QSize(kSpeedGlyphSize - 4, kSpeedGlyphSize - 4));
      }
      if (!caption.isEmpty()) button->setText(caption);
      connect(button, &QToolButton::clicked, this, click);
      widget = button;
      break;
    }
    case ControlKind::kCheckBox: {
      // The box has already toggled itself when the click arrives; the core toggles its own
      // state and the re-read makes both agree.
      auto* box = new QCheckBox(caption, parent);
      connect(box, &QCheckBox::clicked, this, click);
      widget = box;
      break;
    }
    case ControlKind::kRadio: {
      auto* radio = new QRadioButton(caption, parent);
      radio->setAutoExclusive(true);
      connect(radio, &QRadioButton::clicked, this, click);
      widget = radio;
      break;
    }
    case ControlKind::kScrollBar:
    case ControlKind::kTrackBar:
    case ControlKind::kUpDown: {
      QAbstractSlider* slider = nullptr;
      if (design.kind == ControlKind::kScrollBar) {
        slider = new QScrollBar(Qt::Horizontal, parent);
      } else if (design.kind == ControlKind::kUpDown) {
        // Two arrows: the upper one steps up.
        auto* arrows = new QScrollBar(Qt::Vertical, parent);
        arrows->setInvertedAppearance(true);
        arrows->setInvertedControls(true);
        slider = arrows;
      } else {
        auto* track = new QSlider(Qt::Horizontal, parent);
        track->setTickPosition(QSlider::TicksBelow);
        track->setTickInterval(1);
        slider = track;
      }
      slider->setRange(design.minimum, design.maximum);
      slider->setSingleStep(1);
      slider->setPageStep(std::max(1, design.largeStep));
      connect(slider, &QAbstractSlider::valueChanged, this, change);
      widget = slider;
      break;
    }
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(parent);
      combo->addItems(caption.split('\n'));
      connect(combo, &QComboBox::currentIndexChanged, this, [change](int index) {
        if (index >= 0) change(index);
      });
      widget = combo;
      break;
    }
    case ControlKind::kLabel:
      widget = new QLabel(caption, parent);
      break;
    case ControlKind::kRadioGroup: {
      auto* group = new QGroupBox(parent);
      group->setStyleSheet(kGroupStyle);
      const QStringList items = caption.split('\n');
      for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], group);
        radio->setAutoExclusive(true);
        radio->setGeometry(kRadioItemLeft, kRadioItemTop + i * kRadioItemHeight,
                           design.width - kRadioItemLeft - 2, kRadioItemHeight);
        connect(radio, &QRadioButton::clicked, this, [change, i] { change(i); });
      }
      widget = group;
      break;
    }
    case ControlKind::kEdit: {
      auto* field = new QLineEdit(caption, parent);
      connect(field, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        Forward([this, name, typed = text.toStdString()] { window_.Edit(name, typed); });
      });
      widget = field;
      break;
    }
    case ControlKind::kPaintBox: {
      auto* box = new PaintBoxView(window_, design, parent);
      box->pressed = [this, name](QMouseEvent* event) {
        const int button = CoreButton(event->button());
        if (button < 0) return;
        const QPoint at = event->position().toPoint();
        const int shift = CoreShiftState(event->modifiers());
        Forward([&] { window_.MouseDown(name, button, at.x(), at.y(), shift); });
      };
      // Moves with a button held and releases go to the core window too.
      box->moved = [this, name](QMouseEvent* event) {
        if (event->buttons() == Qt::NoButton) return;
        const QPoint at = event->position().toPoint();
        const int shift = CoreShiftState(event->modifiers());
        Forward([&] { window_.MouseMove(name, at.x(), at.y(), shift); });
      };
      box->released = [this, name](QMouseEvent* event) {
        const int button = CoreButton(event->button());
        if (button < 0) return;
        const QPoint at = event->position().toPoint();
        const int shift = CoreShiftState(event->modifiers());
        Forward([&] { window_.MouseUp(name, button, at.x(), at.y(), shift); });
      };
      // Every paint box may take drops; the core window says which drags it takes.
      box->setAcceptDrops(true);
      box->accepts = [this, name](const QMimeData* data) {
        const auto source = DragSource(data);
        return source && window_.AcceptsDrop(name, source->first, source->second);
      };
      box->dropped = [this, name](QDropEvent* event) {
        const auto source = DragSource(event->mimeData());
        if (!source) return;
        const QPoint at = event->position().toPoint();
        Forward([&] { window_.Drop(name, source->first, source->second, at.x(), at.y()); });
      };
      widget = box;
      break;
    }
    case ControlKind::kGroup: {
      // The frame's top line runs through the middle of the title, which sits a little in from
      // the left, so the designed child positions just below the title stay clear of it.
      auto* group = new QGroupBox(caption, parent);
      group->setStyleSheet(kGroupStyle);
      widget = group;
      break;
    }
    case ControlKind::kPanel: {
      auto* panel = new QFrame(parent);
      panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      widget = panel;
      break;
    }
    case ControlKind::kMenuItem:
      // Menu items belong to the window's menu bar, which a window with a menu builds itself.
      return nullptr;
  }
  // Groups and panels hide what lies under them, as the option groups over the brush strip do.
  if (design.kind == ControlKind::kGroup || design.kind == ControlKind::kPanel)
    widget->setAutoFillBackground(true);
  widget->setObjectName(name);
  widget->setGeometry(design.left, design.top, design.width, design.height);
  return widget;
}

QWidget* ControlWindowView::Control(std::string_view name) const {
  const int index = window_.Controls().Find(name);
  if (index < 0 || static_cast<std::size_t>(index) >= widgets_.size()) return nullptr;
  return widgets_[static_cast<std::size_t>(index)];
}

PaintBoxView* ControlWindowView::PaintBoxOf(std::string_view name) const {
  return qobject_cast<PaintBoxView*>(Control(name));
}

void ControlWindowView::ReadState() {
  const ControlSet& controls = window_.Controls();
  const auto designs = controls.Specs();
  const auto states = controls.States();
  for (std::size_t i = 0; i < designs.size() && i < widgets_.size(); ++i)
    if (widgets_[i] != nullptr) ReadControl(designs[i], states[i], widgets_[i]);
}

void ControlWindowView::ReadControl(const ControlSpec& design, const ControlState& state,
                                    QWidget* widget) {
  const QSignalBlocker blocker(widget);
  if (widget->isHidden() == state.visible) widget->setVisible(state.visible);
  const QString caption = QString::fromStdString(state.caption);
  switch (design.kind) {
    case ControlKind::kButton:
      SetText(static_cast<QAbstractButton*>(widget), caption);
      break;
    case ControlKind::kSpeedButton:
      SetDown(static_cast<QAbstractButton*>(widget), state.checked);
      break;
    case ControlKind::kToggleButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadio: {
      auto* button = static_cast<QAbstractButton*>(widget);
      SetDown(button, state.checked);
      if (design.kind != ControlKind::kToggleButton || !caption.isEmpty()) SetText(button, caption);
      break;
    }
    case ControlKind::kScrollBar:
    case ControlKind::kTrackBar:
    case ControlKind::kUpDown:
      static_cast<QAbstractSlider*>(widget)->setValue(state.position);
      break;
    case ControlKind::kComboBox:
      static_cast<QComboBox*>(widget)->setCurrentIndex(state.position);
      break;
    case ControlKind::kLabel: {
      auto* label = static_cast<QLabel*>(widget);
      if (label->text() != caption) label->setText(caption);
      break;
    }
    case ControlKind::kRadioGroup: {
      const QList<QRadioButton*> items = RadioItems(widget);
      for (int i = 0; i < items.size(); ++i) {
        const QSignalBlocker itemBlocker(items[i]);
        SetDown(items[i], i == state.position);
      }
      break;
    }
    case ControlKind::kEdit: {
      auto* field = static_cast<QLineEdit*>(widget);
      if (field->text() != caption) field->setText(caption);
      break;
    }
    case ControlKind::kPaintBox:
      widget->update();
      break;
    case ControlKind::kGroup: {
      auto* group = static_cast<QGroupBox*>(widget);
      if (group->title() != caption) group->setTitle(caption);
      break;
    }
    case ControlKind::kPanel:
    case ControlKind::kMenuItem:
      break;
  }
}

}  // namespace mirasketch
