#include "interface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "edit_menu.h"
#include "main_frame.h"
#include "message_numbers.h"
#include "value_text.h"

namespace tavrin::gui {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Watches a window's client: displays follow its size, mnemonics are its
// own, and closing it tells the interface.
class WindowWatcher : public QObject {
 public:
  WindowWatcher(QWidget* client, std::function<void()> resized, std::function<bool(QChar)> mnemonic,
                std::function<void()> help)
      : QObject(client),
        resized_(std::move(resized)),
        mnemonic_(std::move(mnemonic)),
        help_(std::move(help)) {
    client->installEventFilter(this);
    for (QWidget* child : client->findChildren<QWidget*>()) child->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched == parent()) resized_();
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
      help_();
      return true;
    }
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->modifiers() & Qt::AltModifier) && !key->text().isEmpty()) {
        // Taken here, before the menu bar's own Alt letters see it.
        if (mnemonic_(key->text().at(0).toLower())) {
          event->accept();
          return true;
        }
      }
    }
    return false;
  }

 private:
  std::function<void()> resized_;
  std::function<bool(QChar)> mnemonic_;
  std::function<void()> help_;
};

// A pop-up window that tells the interface when it closes.
class PopUp : public QWidget {
 public:
  PopUp(QWidget* parent, std::function<void(const QRect&)> closed)
      : QWidget(parent, Qt::Dialog), closed_(std::move(closed)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    const QRect last = geometry();
    event->accept();
    if (closed_) closed_(last);
  }

 private:
  std::function<void(const QRect&)> closed_;
};

class MdiChild : public QMdiSubWindow {
 public:
  explicit MdiChild(std::function<void(const QRect&)> closed) : closed_(std::move(closed)) {
    setAttribute(Qt::WA_DeleteOnClose);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    const QRect last = geometry();
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && closed_) closed_(last);
  }

 private:
  std::function<void(const QRect&)> closed_;
};

}  // namespace

struct Interface::OpenWindowState {
  QPointer<QWidget> window;  // the pop-up or the MDI sub-window
  QPointer<QWidget> client;
};

Interface::Interface(ParameterTable& parameters, ElementTable& elements, MainFrame& frame,
                     const LayoutUnits& units, Reporter& reporter, QString icons_directory,
                     Hooks hooks)
    : parameters_(parameters),
      elements_(elements),
      frame_(frame),
      units_(units),
      reporter_(reporter),
      icons_(std::move(icons_directory)),
      hooks_(std::move(hooks)) {
  focus_watch_ =
      QObject::connect(qApp, &QApplication::focusChanged, &frame_, [this](QWidget*, QWidget* now) {
        if (now == nullptr || qobject_cast<QMenu*>(now) || qobject_cast<QMenuBar*>(now)) return;
        edit_target_ = now;
        EnableMenuCommands();
      });
}

Interface::~Interface() {
  QObject::disconnect(focus_watch_);
  tearing_down_ = true;
  controls_.clear();
  for (auto& [name, state] : open_) {
    if (state->window) delete state->window.data();
  }
}

ControlContext Interface::Context(bool on_main_window) {
  ControlContext context;
  context.units = &units_;
  context.icons_directory = icons_;
  context.on_main_window = on_main_window;
  context.events.commit = [this](int element, const std::string& text, bool focus) {
    if (!tearing_down_) Commit(element, text, focus);
  };
  context.events.activate = [this](int element) { Activate(element); };
  context.events.spin = [this](int element, int direction) { Spin(element, direction); };
  context.events.hovered = [this](int element) {
    if (hooks_.status) hooks_.status(elements_[element].description);
  };
  DisplayHooks& displays = context.displays;
  displays.export_labels = hooks_.export_labels;
  displays.import_labels = hooks_.import_labels;
  displays.choose_save_file = hooks_.choose_save_file;
  displays.busy = [this] { return hooks_.may_act && !hooks_.may_act(); };
  auto message = [this](int number) { return hooks_.message ? hooks_.message(number) : ""; };
  displays.report = [this, message](int number) { reporter_.Warning(message(number)); };
  displays.report_text = [this](const QString& text) { reporter_.Error(text.toStdString()); };
  const QStringList tips = QString::fromStdString(message(msg::kDisplayButtonTips)).split('|');
  for (int k = 0; k < 3 && k < tips.size(); ++k) displays.tips[k] = tips[k];
  return context;
}

void Interface::MakeControls(std::string_view menu, QWidget* client, bool on_main_window) {
  const ControlContext context = Context(on_main_window);
  for (int i = 0; i < elements_.size(); ++i) {
    const SugParameter& e = elements_[i];
    const bool mine =
        on_main_window ? (!e.has_menu || e.menu.empty()) : (e.has_menu && e.menu == menu);
    if (!mine || controls_.count(i)) continue;
    // A menu command lives in the menu bar, never in a window.
    if (e.parameter && e.kind() == SuType::kMenuItem) continue;
    controls_[i] = MakeControl(elements_, i, client, context);
  }
}

void Interface::BuildMainWindowControls() {
  MakeControls("", frame_.client(), true);
  frame_.Relayout();
  Refresh();
}

void Interface::AddMenu(QMenu* menu, const MenuNode& node) {
  for (const auto& child : node.children) {
    if (!child->children.empty()) {
      QMenu* sub = menu->addMenu(Q(child->label));
      AddMenu(sub, *child);
      continue;
    }
    if (child->is_separator()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(Q(child->label));
    const int identifier = child->identifier;
    QObject::connect(action, &QAction::triggered, action,
                     [this, identifier] { RunMenuCommand(identifier); });
    if (child->element >= 0) menu_commands_.emplace_back(child->element, action);
  }
  // The selection may have changed since the focus did.
  QObject::connect(menu, &QMenu::aboutToShow, menu, [this] { EnableMenuCommands(); });
}

void Interface::SetMenuChecked(std::string_view parameter, bool on) {
  for (const auto& [element, action] : menu_commands_) {
    const SuParameter* p = elements_[element].parameter;
    if (!action || p == nullptr || p->name != parameter) continue;
    action->setCheckable(true);
    action->setChecked(on);
  }
}

void Interface::RecordPlacements() {
  for (const auto& [name, state] : open_) {
    if (!state->window) continue;
    const QRect g = state->window->geometry();
    if (WindowEntry* entry = windows_.Find(name))
      entry->placement = {g.x(), g.y(), g.width(), g.height()};
  }
}

void Interface::EnableMenuCommands() {
  const EditAbilities abilities = EditAbilitiesOf(edit_target_);
  for (const auto& [element, action] : menu_commands_) {
    if (!action) continue;
    const SuParameter* p = elements_[element].parameter;
    bool enabled = p == nullptr || !p->available || p->available() != 0;
    if (p != nullptr && IsEditCommand(p->name)) enabled = enabled && AbilityOf(abilities, p->name);
    action->setEnabled(enabled);
  }
}

void Interface::BuildMenus(QMenuBar* bar) {
  menus_.Build(elements_, reporter_);
  const MenuNode* window_top = menus_.TopMenuOf(elements_, "cascade_mdi_window");
  for (const auto& top : menus_.top()) {
    if (top->children.empty()) {
      QAction* action = bar->addAction(Q(top->label));
      const int identifier = top->identifier;
      QObject::connect(action, &QAction::triggered, action,
                       [this, identifier] { RunMenuCommand(identifier); });
      continue;
    }
    QMenu* menu = bar->addMenu(Q(top->label));
    AddMenu(menu, *top);
    if (top.get() != window_top) continue;
    // The Window menu lists the open windows after its own commands.
    window_menu_ = menu;
    const int fixed = static_cast<int>(menu->actions().size());
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu, fixed] {
      while (static_cast<int>(menu->actions().size()) > fixed) {
        QAction* last = menu->actions().back();
        menu->removeAction(last);
        delete last;
      }
      const auto windows = frame_.mdi_area()->subWindowList();
      if (!windows.isEmpty()) menu->addSeparator();
      for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        QMdiSubWindow* w = windows[i];
        QAction* a = menu->addAction(QString("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        QObject::connect(a, &QAction::triggered, w,
                         [this, w] { frame_.mdi_area()->setActiveSubWindow(w); });
      }
    });
  }
}

void Interface::RunMenuCommand(int identifier) {
  if (hooks_.may_act && !hooks_.may_act()) return;
  const MenuNode* node = menus_.ByIdentifier(identifier);
  if (node == nullptr) return;
  if (node->element >= 0 && elements_[node->element].parameter &&
      elements_[node->element].parameter->change) {
    Activate(node->element);
    return;
  }
  const std::string path = menus_.PathOf(node);
  if (!OpenWindow(path) && hooks_.status) hooks_.status(path + ": not available yet");
}

QWidget* Interface::WindowNamed(std::string_view menu) const {
  const auto at = open_.find(menu);
  if (at == open_.end() || !at->second->window) return nullptr;
  return at->second->client;
}

bool Interface::OpenWindow(std::string_view menu) {
  if (WindowNamed(menu) != nullptr) {
    QWidget* window = open_.find(menu)->second->window;
    window->show();
    window->raise();
    window->activateWindow();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
      frame_.mdi_area()->setActiveSubWindow(sub);
    return true;
  }
  const SugParameter* first = nullptr;
  for (const SugParameter& e : elements_) {
    if (e.has_menu && e.menu == menu && !(e.parameter && e.kind() == SuType::kMenuItem)) {
      if (first == nullptr) first = &e;
      if (e.has_window) {
        first = &e;
        break;
      }
    }
  }
  if (first == nullptr) return false;
  const std::string name(menu);
  const QString caption = Q(first->has_window ? first->window : name);
  const WindowType type = first->window_type;
  const ClientSize size = WindowClientSize(elements_, menu, units_.char_width, units_.line_height);
  // Placements are the whole window's; a window opened afresh takes its
  // client size plus what its frame adds.
  const bool known = windows_.Find(name) != nullptr;
  WindowEntry& entry = windows_.Add(name, type, {30, 30, size.width, size.height}, false);
  entry.open = true;
  const Placement placement = entry.placement;

  auto state = std::make_unique<OpenWindowState>();
  auto closed = [this, name](const QRect& last) {
    ForgetControls(name);
    windows_.MarkClosed(name, {last.x(), last.y(), last.width(), last.height()});
    open_.erase(name);
  };
  QWidget* client = nullptr;
  if (type == WindowType::kMdiChild) {
    auto* sub = new MdiChild(closed);
    client = new QWidget;
    client->setFont(units_.dialog_font);
    client->setMinimumSize(10, 10);
    sub->setWidget(client);
    sub->setWindowTitle(caption);
    frame_.mdi_area()->addSubWindow(sub);
    state->window = sub;
  } else {
    auto* pop = new PopUp(&frame_, closed);
    pop->setAttribute(Qt::WA_DeleteOnClose);
    pop->setWindowTitle(caption);
    pop->setFont(units_.dialog_font);
    if (type == WindowType::kModalPopUp) pop->setWindowModality(Qt::ApplicationModal);
    client = pop;
    state->window = pop;
  }
  state->client = client;
  open_[name] = std::move(state);
  MakeControls(menu, client, false);
  new WindowWatcher(
      client, [this, name, client] { LayOutDisplays(name, client); },
      [this, name](QChar key) { return HandleMnemonic(name, key); },
      [this, name] { HelpForFocus(name); });
  Refresh();
  QWidget* window = open_[name]->window;
  // Measured texts may reach beyond what the layout fields give (displays
  // are laid out to the window afterwards).
  const QRect used = client->childrenRect();
  const Placement fitted{placement.x, placement.y, std::max(placement.width, used.right() + 10),
                         std::max(placement.height, used.bottom() + 10)};
  if (window != client) {
    window->show();
    const QSize frame = window->size() - client->size();
    window->setGeometry(placement.x, placement.y,
                        known ? placement.width : fitted.width + frame.width(),
                        known ? placement.height : fitted.height + frame.height());
  } else {
    // A window of its own takes its size before it is shown: the window
    // system may not follow a resize of a shown one at once.
    window->resize(known ? placement.width : fitted.width,
                   known ? placement.height : fitted.height);
    if (known) window->move(placement.x, placement.y);
    window->show();
  }
  if (!known) {
    windows_.Add(name, type, {window->x(), window->y(), window->width(), window->height()}, true);
  }
  LayOutDisplays(name, client);
  for (auto& [index, control] : controls_) {
    QWidget* target = control->target();
    if (target && target->window() == client->window() && target->focusPolicy() != Qt::NoFocus) {
      target->setFocus();
      break;
    }
  }
  return true;
}

void Interface::CloseWindow(std::string_view menu) {
  const auto at = open_.find(menu);
  if (at == open_.end() || !at->second->window) return;
  at->second->window->close();
}

void Interface::ForgetControls(std::string_view menu) {
  for (auto it = controls_.begin(); it != controls_.end();) {
    const SugParameter& e = elements_[it->first];
    if (e.has_menu && e.menu == menu) {
      it = controls_.erase(it);
    } else {
      ++it;
    }
  }
}

void Interface::LayOutDisplays(std::string_view menu, QWidget* client) {
  const Metrics metrics{units_.char_width, units_.line_height, units_.line_height};
  for (auto& [index, control] : controls_) {
    const SugParameter& e = elements_[index];
    if (!control->is_display() || !e.has_menu || e.menu != menu) continue;
    QWidget* w = control->main_widget();
    if (w == nullptr) continue;
    const QRect now = w->geometry();
    const Rect r = AnchoredRect(e, metrics, client->width(), client->height(),
                                {now.x(), now.y(), now.width(), now.height()});
    w->setGeometry(r.x, r.y, r.width, r.height);
  }
}

bool Interface::HandleMnemonic(std::string_view menu, QChar key) {
  for (auto& [index, control] : controls_) {
    const SugParameter& e = elements_[index];
    if (!e.has_menu || e.menu != menu || e.mnemonic == 0 || QChar(e.mnemonic) != key) continue;
    QWidget* target = control->target();
    if (target == nullptr || !target->isEnabled()) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(target)) {
      button->click();
    } else {
      target->setFocus(Qt::ShortcutFocusReason);
    }
    return true;
  }
  return false;
}

void Interface::HelpForFocus(std::string_view menu) {
  if (!hooks_.help) return;
  const QWidget* focus = QApplication::focusWidget();
  for (auto& [index, control] : controls_) {
    const SugParameter& e = elements_[index];
    if (!e.has_menu || e.menu != menu) continue;
    const QWidget* main = control->main_widget();
    if (main && focus && (main == focus || main->isAncestorOf(focus))) {
      if (e.help_topic != -1) hooks_.help(e.help_topic);
      return;
    }
  }
  // Not on a control: the window's first element that has a topic.
  for (const SugParameter& e : elements_) {
    if (e.has_menu && e.menu == menu && e.help_topic != -1) {
      hooks_.help(e.help_topic);
      return;
    }
  }
}

BoundControl* Interface::ControlOf(int element) const {
  const auto at = controls_.find(element);
  return at == controls_.end() ? nullptr : at->second.get();
}

int Interface::ElementNamed(std::string_view parameter) const {
  for (int i = 0; i < elements_.size(); ++i) {
    if (elements_[i].parameter && elements_[i].parameter->name == parameter) return i;
  }
  return -1;
}

void Interface::Refresh() {
  for (auto& [index, control] : controls_) {
    const SuParameter* p = elements_[index].parameter;
    if (p == nullptr) continue;
    if (IsValueKind(p->type) && !control->IsEditing() && control->OnScreenValue() != ToText(*p)) {
      control->Write(*p);
    } else if (control->is_display()) {
      control->Write(*p);  // the program may have new data for it
    }
    if (p->available) control->SetEnabled(p->available() != 0);
  }
  EnableMenuCommands();
}

void Interface::Activate(int index) {
  if (hooks_.may_act && !hooks_.may_act()) return;
  SugParameter& e = elements_[index];
  if (e.parameter == nullptr) return;
  // The button stays disabled while its action runs and a moment after, so
  // that a double click runs it once; the window may be gone by then.
  QPointer<QWidget> button;
  if (BoundControl* control = ControlOf(index)) button = control->main_widget();
  if (button) button->setEnabled(false);
  if (hooks_.clear_error_flag) hooks_.clear_error_flag();
  if (e.action_message != -1 && hooks_.status) hooks_.status(hooks_.message(e.action_message));
  activating_ = index;
  if (e.parameter->change) e.parameter->change(*e.parameter);
  activating_ = -1;
  if (e.action_message != -1 && hooks_.status) {
    const bool failed = hooks_.error_flag && hooks_.error_flag();
    hooks_.status(failed ? std::string() : hooks_.message(e.action_message + 1));
  }
  if (button) {
    QTimer::singleShot(200, button, [this, button] {
      if (button) button->setEnabled(true);
      Refresh();
    });
  }
  Refresh();
}

void Interface::Commit(int index, const std::string& text, bool from_focus_loss) {
  SugParameter& e = elements_[index];
  if (e.parameter == nullptr) return;
  if (from_focus_loss && hooks_.may_act && !hooks_.may_act()) return;
  SuParameter& p = *e.parameter;
  const bool edited = IsEdited(text, p);
  if (edited) {
    // Messages of a commit by focus loss go to the status line: a box would
    // take the focus again.
    if (from_focus_loss && hooks_.status_line_mode) hooks_.status_line_mode(true);
    SetFromText(p, text, reporter_);
    if (from_focus_loss && hooks_.status_line_mode) hooks_.status_line_mode(false);
  } else if (!from_focus_loss && p.change) {
    p.change(p);  // Enter runs the callback even for an unchanged value
  }
  Refresh();
}

void Interface::Spin(int index, int direction) {
  SugParameter& e = elements_[index];
  if (e.parameter == nullptr) return;
  SuParameter& p = *e.parameter;
  if (int* const* value = std::get_if<int*>(&p.value); value && *value) {
    **value += direction * static_cast<int>(e.increment);
  } else if (long* const* value = std::get_if<long*>(&p.value); value && *value) {
    **value += direction * static_cast<long>(e.increment);
  } else if (double* const* value = std::get_if<double*>(&p.value); value && *value) {
    **value += direction * e.increment;
  }
  if (p.change) p.change(p);
  Refresh();
}

}  // namespace tavrin::gui
