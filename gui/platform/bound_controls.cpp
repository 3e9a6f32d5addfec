#include "bound_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "display_control.h"
#include "tool_button.h"
#include "value_text.h"

namespace tavrin::gui {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A prompt as shown: "&&" is one "&", a single "&" marks the mnemonic.
QString Shown(const std::string& prompt) {
  QString text = Q(prompt);
  text.replace("&&", "\x01");
  text.remove('&');
  text.replace("\x01", "&");
  return text;
}

QRect R(const Rect& r) {
  return {r.x, r.y, r.width, r.height};
}

Metrics MetricsOf(const LayoutUnits& units) {
  return {units.char_width, units.line_height, QFontMetrics(units.dialog_font).height()};
}

TextWidths Measure(const SugParameter& e, const LayoutUnits& units) {
  const QFontMetrics metrics(units.dialog_font);
  TextWidths widths;
  widths.prompt = metrics.horizontalAdvance(Shown(e.prompt)) + 4;
  if (e.parameter) {
    widths.options = OptionCount(*e.parameter);
    for (int i = 0; i < widths.options; ++i) {
      widths.widest_option =
          std::max(widths.widest_option,
                   metrics.horizontalAdvance(Q(OptionName(*e.parameter, i).value_or(""))));
    }
  }
  return widths;
}

QLabel* MakePrompt(const SugParameter& e, const Rect& place, QWidget* parent) {
  auto* label = new QLabel(Q(e.prompt), parent);
  label->setGeometry(R(place));
  label->setTextFormat(Qt::PlainText);
  return label;
}

// Commits a field's text on Enter and when it loses the focus.
class FieldWatcher : public QObject {
 public:
  FieldWatcher(QLineEdit* field, std::function<void(bool)> commit)
      : QObject(field), field_(field), commit_(std::move(commit)) {
    field->installEventFilter(this);
    QObject::connect(field, &QLineEdit::returnPressed, field, [this] { commit_(false); });
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && field_->isModified()) commit_(true);
    if (event->type() == QEvent::FocusIn) field_->selectAll();
    return false;
  }

 private:
  QLineEdit* field_;
  std::function<void(bool)> commit_;
};

class LabelControl : public BoundControl {
 public:
  LabelControl(const SugParameter& e, const ControlPlace& place, QWidget* parent) {
    auto* label = new QLabel(Shown(e.prompt), parent);
    label->setGeometry(R(place.prompt));
    label->setWordWrap(place.prompt.height > label->fontMetrics().height() * 3 / 2);
    main_ = label;
  }
};

class FieldControl : public BoundControl {
 public:
  FieldControl(const SugParameter& e, int index, const ControlPlace& place, QWidget* parent,
               const ControlEvents& events) {
    prompt_ = MakePrompt(e, place.prompt, parent);
    field_ = new QLineEdit(parent);
    field_->setGeometry(R(place.control));
    field_->setFrame(true);
    prompt_->setBuddy(field_);
    main_ = field_;
    auto commit = events.commit;
    // The watcher may outlive this control while its widgets are torn down.
    QLineEdit* field = field_;
    new FieldWatcher(field_, [field, index, commit](bool focus) {
      if (commit) commit(index, field->text().toStdString(), focus);
    });
    if (place.spin.width > 0) {
      auto* spin = new QFrame(parent);
      spin->setGeometry(R(place.spin));
      auto* layout = new QVBoxLayout(spin);
      layout->setContentsMargins(0, 0, 0, 0);
      layout->setSpacing(0);
      for (int direction : {+1, -1}) {
        auto* arrow = new QToolButton(spin);
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        arrow->setObjectName(direction > 0 ? "up" : "down");
        layout->addWidget(arrow);
        auto step = events.spin;
        QObject::connect(arrow, &QToolButton::clicked, arrow, [step, index, direction] {
          if (step) step(index, direction);
        });
      }
      spin_ = spin;
    }
  }
  std::string OnScreenValue() const override { return field_->text().toStdString(); }
  void Write(const SuParameter& p) override {
    field_->setText(Q(ToText(p)));
    field_->setModified(false);
  }
  void SetEnabled(bool enabled) override {
    BoundControl::SetEnabled(enabled);
    if (prompt_) prompt_->setEnabled(enabled);
    if (spin_) spin_->setEnabled(enabled);
  }
  bool IsEditing() const override { return field_->hasFocus() && field_->isModified(); }

 private:
  QLineEdit* field_;
  QPointer<QWidget> spin_;
};

class ReadOutControl : public BoundControl {
 public:
  ReadOutControl(const SugParameter& e, const ControlPlace& place, QWidget* parent, bool banner) {
    if (!banner) prompt_ = MakePrompt(e, place.prompt, parent);
    value_ = new QLabel(parent);
    value_->setGeometry(R(place.control));
    value_->setTextFormat(Qt::PlainText);
    if (!banner) value_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    main_ = value_;
  }
  std::string OnScreenValue() const override { return value_->text().toStdString(); }
  void Write(const SuParameter& p) override { value_->setText(Q(ToText(p))); }

 private:
  QLabel* value_;
};

class CheckControl : public BoundControl {
 public:
  CheckControl(const SugParameter& e, int index, const ControlPlace& place, QWidget* parent,
               const ControlEvents& events) {
    box_ = new QCheckBox(Q(e.prompt), parent);
    box_->setGeometry(R(place.control));
    main_ = box_;
    auto commit = events.commit;
    QObject::connect(box_, &QCheckBox::clicked, box_, [commit, index](bool on) {
      if (commit) commit(index, on ? "on" : "off", false);
    });
  }
  std::string OnScreenValue() const override { return box_->isChecked() ? "on" : "off"; }
  void Write(const SuParameter& p) override { box_->setChecked(ToText(p) == "on"); }

 private:
  QCheckBox* box_;
};

class RadioControl : public BoundControl {
 public:
  RadioControl(const SugParameter& e, int index, const ControlPlace& place, QWidget* parent,
               const ControlEvents& events) {
    prompt_ = MakePrompt(e, place.prompt, parent);
    auto* group = new QFrame(parent);
    group->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    group->setGeometry(R(place.control));
    main_ = group;
    for (std::size_t k = 0; k < place.options.size(); ++k) {
      const QString text = Q(OptionName(*e.parameter, static_cast<int>(k)).value_or(""));
      auto* button = new QRadioButton(text, group);
      button->setGeometry(R(place.options[k]).translated(0, 3));
      auto commit = events.commit;
      QObject::connect(button, &QRadioButton::clicked, button, [commit, index, text] {
        if (commit) commit(index, text.toStdString(), false);
      });
      buttons_.push_back(button);
    }
  }
  // No button set reads as nothing shown, never as a failure: the refresh
  // then writes the stored value again.
  std::string OnScreenValue() const override {
    for (QRadioButton* b : buttons_) {
      if (b->isChecked()) return b->text().toStdString();
    }
    return {};
  }
  void Write(const SuParameter& p) override {
    // A stored option without a button (a message file with fewer options)
    // sets none; exclusive buttons would keep the last one set.
    const int current = CurrentOption(p);
    for (int k = 0; k < static_cast<int>(buttons_.size()); ++k) {
      QRadioButton* b = buttons_[static_cast<std::size_t>(k)];
      b->setAutoExclusive(false);
      b->setChecked(k == current);
      b->setAutoExclusive(true);
    }
  }
  QWidget* target() const override { return buttons_.empty() ? main_.data() : buttons_.front(); }

 private:
  std::vector<QRadioButton*> buttons_;
};

class ComboControl : public BoundControl {
 public:
  ComboControl(const SugParameter& e, int index, const ControlPlace& place, QWidget* parent,
               const ControlEvents& events) {
    prompt_ = MakePrompt(e, place.prompt, parent);
    combo_ = new QComboBox(parent);
    combo_->setGeometry(R(place.control));
    combo_->setMaxVisibleItems(7);
    for (int i = 0; i < OptionCount(*e.parameter); ++i) {
      combo_->addItem(Q(OptionName(*e.parameter, i).value_or("")));
    }
    prompt_->setBuddy(combo_);
    main_ = combo_;
    auto commit = events.commit;
    QObject::connect(combo_, &QComboBox::activated, combo_, [this, commit, index](int) {
      if (commit) commit(index, combo_->currentText().toStdString(), false);
    });
  }
  std::string OnScreenValue() const override { return combo_->currentText().toStdString(); }
  void Write(const SuParameter& p) override { combo_->setCurrentIndex(CurrentOption(p)); }

 private:
  QComboBox* combo_;
};

class ButtonControl : public BoundControl {
 public:
  ButtonControl(const SugParameter& e, int index, const ControlPlace& place, QWidget* parent,
                const ControlContext& context) {
    QAbstractButton* button = nullptr;
    const SuType kind = e.kind();
    if (kind == SuType::kToolButton || kind == SuType::kWhatIf) {
      QString icon = Q(e.parameter->name);
      if (icon.startsWith("tool_")) icon = icon.mid(5);
      button = new ToolButton(context.icons_directory + "/" + icon.toLower(),
                              kind == SuType::kWhatIf ? "?" : icon.left(3).toUpper(), parent);
    } else {
      button = new QPushButton(Q(e.prompt), parent);
    }
    button->setGeometry(R(place.control));
    button->setObjectName(Q(e.parameter->name));
    main_ = button;
    auto activate = context.events.activate;
    QObject::connect(button, &QAbstractButton::clicked, button, [activate, index] {
      if (activate) activate(index);
    });
  }
};

}  // namespace

BoundControl::~BoundControl() = default;

void BoundControl::SetEnabled(bool enabled) {
  if (main_) main_->setEnabled(enabled);
}

std::unique_ptr<BoundControl> MakeControl(const ElementTable& elements, int index, QWidget* parent,
                                          const ControlContext& context) {
  const SugParameter& e = elements[index];
  const ControlPlace place = PlaceControl(e, MetricsOf(*context.units), Measure(e, *context.units),
                                          context.on_main_window);
  std::unique_ptr<BoundControl> control;
  switch (place.shape) {
    case ControlShape::kLabel:
      control = std::make_unique<LabelControl>(e, place, parent);
      break;
    case ControlShape::kField:
      control = std::make_unique<FieldControl>(e, index, place, parent, context.events);
      break;
    case ControlShape::kReadOnly:
    case ControlShape::kBanner:
      control =
          std::make_unique<ReadOutControl>(e, place, parent, place.shape == ControlShape::kBanner);
      break;
    case ControlShape::kCheckBox:
      control = std::make_unique<CheckControl>(e, index, place, parent, context.events);
      break;
    case ControlShape::kRadio:
      control = std::make_unique<RadioControl>(e, index, place, parent, context.events);
      break;
    case ControlShape::kComboBox:
      control = std::make_unique<ComboControl>(e, index, place, parent, context.events);
      break;
    case ControlShape::kButton:
      control = std::make_unique<ButtonControl>(e, index, place, parent, context);
      break;
    case ControlShape::kDisplay:
      control = MakeDisplayControl(e, place, parent, context.displays);
      break;
  }
  QWidget* main = control->main_widget();
  if (main && !e.tip.empty()) main->setToolTip(Q(e.tip));
  if (main && context.events.hovered && !e.description.empty()) {
    struct Hover : QObject {
      Hover(QWidget* w, std::function<void(int)> f, int i)
          : QObject(w), hovered(std::move(f)), index(i) {
        w->installEventFilter(this);
      }
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ToolTip || event->type() == QEvent::Enter) hovered(index);
        return false;
      }
      std::function<void(int)> hovered;
      int index;
    };
    new Hover(main, context.events.hovered, index);
  }
  return control;
}

}  // namespace tavrin::gui
