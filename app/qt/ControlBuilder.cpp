#include "ControlBuilder.h"

#include <QComboBox>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <stdexcept>

#include "DateEdit.h"
#include "FieldEdit.h"
#include "Look.h"

namespace tacho {

QFont WindowFont(FontStyle font) {
  const FontStyle style = font.pixelHeight > 0 ? font : kMainWindow.font;
  return TahomaFont(style.pixelHeight, style.bold);
}

namespace {

QString Q(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

QRect Geometry(Rect r) { return {r.left, r.top, r.width, r.height}; }

// A label bound to the left side of its field: right-aligned against it, no gap,
// and the field's buddy so that screen readers name the field by it.
void BindLabel(QWidget* field, const BoundLabel& bound) {
  const QString text = Q(bound.text);
  auto* label = new QLabel(text, field->parentWidget());
  label->setFont(WindowFont(bound.font));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setBuddy(field);
  // Qt names an edit field by its buddy label; a drop-down list on Windows would
  // be named by its item, so it is given the label as its name.
  if (qobject_cast<QComboBox*>(field)) field->setAccessibleName(text);
  const int width = std::min(label->sizeHint().width(), field->x());
  label->setGeometry(field->x() - width, field->y(), width, field->height());
}

// A heading label draws its text with a soft shadow.
void AddShadow(QLabel* label) {
  auto* shadow = new QGraphicsDropShadowEffect(label);
  shadow->setBlurRadius(4);
  shadow->setOffset(1.5, 1.5);
  shadow->setColor(QColor(0, 0, 0, 90));
  label->setGraphicsEffect(shadow);
}

// The widget of one described control, of its kind, under `parent`; the window
// itself and its pages are made by the caller.
QWidget* CreateWidget(const ControlDesc& desc, QWidget* parent) {
  switch (desc.kind) {
    case ControlKind::Panel: {
      auto* panel = new QFrame(parent);
      panel->setFrameShape(QFrame::StyledPanel);
      panel->setFrameShadow(QFrame::Raised);
      return panel;
    }
    case ControlKind::PageControl:
      return new QTabWidget(parent);
    case ControlKind::GroupBox:
      return new QGroupBox(Q(desc.caption), parent);
    case ControlKind::EditField: {
      auto* edit = new FieldEdit(parent, UserEditLimits{desc.maxLength, desc.digitsOnly});
      edit->setText(Q(desc.defaultText));
      return edit;
    }
    case ControlKind::DateField:
      return new DateEdit(parent);
    case ControlKind::DropDownList: {
      auto* list = new QComboBox(parent);
      for (std::u16string_view item : desc.items) list->addItem(Q(item));
      list->setCurrentIndex(desc.defaultIndex);
      return list;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(Q(desc.caption), parent);
      button->setAutoDefault(false);
      return button;
    }
    case ControlKind::ToolButton: {
      auto* button = new QToolButton(parent);
      button->setText(Q(desc.caption));
      button->setAutoRaise(true);
      button->setFocusPolicy(Qt::NoFocus);
      return button;
    }
    case ControlKind::Label:
    case ControlKind::HeadingLabel: {
      auto* label = new QLabel(Q(desc.caption), parent);
      if (desc.kind == ControlKind::HeadingLabel) AddShadow(label);
      return label;
    }
    case ControlKind::Window:
    case ControlKind::Page:
      break;
  }
  throw std::logic_error("TForm1: a control of this kind is not made here");
}

}  // namespace

QWidget* BuildWidget(const ControlDesc& desc, QWidget* parent) {
  if (desc.kind == ControlKind::Page) {
    // A page fills its page control below the row of tabs.
    auto* page = new QWidget;
    static_cast<QTabWidget*>(parent)->addTab(page, Q(desc.caption));
    return page;
  }
  QWidget* widget = CreateWidget(desc, parent);
  widget->setGeometry(Geometry(desc.rect));
  widget->setFont(WindowFont(desc.font));
  if (!desc.hint.empty()) widget->setToolTip(Q(desc.hint));
  if (!desc.label.text.empty()) BindLabel(widget, desc.label);
  if (desc.namedBy != ControlId::Form1) widget->setAccessibleName(Q(Describe(desc.namedBy).caption));
  if (!desc.visibleAtStart) widget->setVisible(false);
  return widget;
}

}  // namespace tacho
