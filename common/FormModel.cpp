#include "FormModel.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "WindowDescription.h"

namespace tacho {
namespace {

std::u16string DateText(int year, int month, int day) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day % 100, month % 100, year % 10000);
  return std::u16string(buf, buf + 10);
}

}  // namespace

FormModel::FormModel() : FormModel(TodayLocal()) {}

FormModel::FormModel(CivilDate today) {
  using K = Control::Kind;
  for (const ControlDesc& desc : kControls) {
    Control control{.kind = K::Edit, .visible = desc.visibleAtStart};
    switch (desc.kind) {
      case ControlKind::EditField:
        control.text = desc.defaultText;
        break;
      case ControlKind::DateField:
        control.kind = K::Date;
        control.text = kEmptyDateText;
        break;
      case ControlKind::DropDownList:
        control.kind = K::List;
        control.items.assign(desc.items.begin(), desc.items.end());
        break;
      case ControlKind::PushButton:
      case ControlKind::ToolButton:
        control.kind = K::Button;
        break;
      case ControlKind::PageControl:
        control.kind = K::Pages;
        break;
      default:
        continue;  // the window, containers and labels take no operation
    }
    controls_[desc.id] = std::move(control);
    if (desc.kind == ControlKind::DropDownList) SelectIndex(desc.id, desc.defaultIndex);
    if (desc.defaultDate == StartDate::NextCalibrationDate) {
      const CivilDate next = DefaultNextCalibrationDate(today);
      SetDate(desc.id, next.year, next.month, next.day);
    }
  }
}

FormModel::Control& FormModel::At(ControlId id) {
  auto it = controls_.find(id);
  if (it == controls_.end()) throw std::logic_error("FormModel: no such control");
  return it->second;
}

const FormModel::Control& FormModel::At(ControlId id) const {
  return const_cast<FormModel*>(this)->At(id);
}

std::u16string FormModel::ReadText(ControlId id) const {
  const Control& c = At(id);
  if (c.kind != Control::Kind::List) return c.text;
  if (c.selected >= 0) return c.items[static_cast<std::size_t>(c.selected)];
  return id == ControlId::sComboBox_port ? c.text : std::u16string();
}

void FormModel::SetText(ControlId id, std::u16string_view text) {
  Control& c = At(id);
  if (c.kind == Control::Kind::List) {
    // A drop-down list's shown text: it selects nothing.
    c.selected = -1;
  }
  c.text = text;
}

int FormModel::SelectedIndex(ControlId id) const { return At(id).selected; }

void FormModel::SelectIndex(ControlId id, int index) {
  Control& c = At(id);
  c.selected = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
  c.text = c.selected >= 0 ? c.items[static_cast<std::size_t>(c.selected)] : std::u16string();
}

int FormModel::FindItem(ControlId id, std::u16string_view text) const {
  const Control& c = At(id);
  for (std::size_t i = 0; i < c.items.size(); ++i) {
    if (c.items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int FormModel::ItemCount(ControlId id) const { return static_cast<int>(At(id).items.size()); }

std::u16string FormModel::ItemText(ControlId id, int index) const {
  const Control& c = At(id);
  if (index < 0 || index >= static_cast<int>(c.items.size())) return {};
  return c.items[static_cast<std::size_t>(index)];
}

void FormModel::ClearItems(ControlId id) {
  Control& c = At(id);
  c.items.clear();
  c.selected = -1;
  c.text.clear();
}

void FormModel::AddItem(ControlId id, std::u16string_view text) { At(id).items.emplace_back(text); }

void FormModel::SetDate(ControlId id, int year, int month, int day) { At(id).text = DateText(year, month, day); }

void FormModel::SetEnabled(ControlId id, bool enabled) { At(id).enabled = enabled; }

bool FormModel::IsEnabled(ControlId id) const { return At(id).enabled; }

void FormModel::SetButtonVisible(ControlId id, bool visible) { At(id).visible = visible; }

bool FormModel::IsButtonVisible(ControlId id) const { return At(id).visible; }

int FormModel::ActivePage() const { return activePage_; }

void FormModel::SetScreenCursor(ScreenCursor c) {
  cursor = c;
  cursorHistory.push_back(c);
}

void FormModel::ShowMessageBox(std::u16string_view text, std::optional<std::u16string_view> caption) {
  if (closed) return;
  boxes.push_back({BoxKind::Message, std::u16string(text),
                   caption ? std::optional<std::u16string>(std::u16string(*caption)) : std::nullopt});
}

void FormModel::ShowPlainMessage(std::u16string_view text) {
  if (closed) return;
  boxes.push_back({BoxKind::Plain, std::u16string(text), std::nullopt});
}

void FormModel::ShowErrorBox(std::u16string_view text) {
  if (closed) return;
  boxes.push_back({BoxKind::Error, std::u16string(text), std::nullopt});
}

std::optional<std::u16string> FormModel::ChooseOpenFile() {
  if (closed) return std::nullopt;
  if (openAnswers.empty()) return std::nullopt;
  auto answer = openAnswers.front();
  openAnswers.pop_front();
  return answer;
}

std::optional<std::u16string> FormModel::ChooseSaveFile(std::u16string_view proposedName) {
  if (closed) return std::nullopt;
  proposedSaveNames.emplace_back(proposedName);
  if (saveAnswers.empty()) return std::nullopt;
  auto answer = saveAnswers.front();
  saveAnswers.pop_front();
  return answer;
}

void FormModel::ResponsiveDelay(int ms) {
  delays.push_back(ms);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  if (onDelay) onDelay(ms);
  if (closed) throw WindowClosed{};
  std::this_thread::sleep_until(deadline);
}

void FormModel::RunBlocking(const std::function<void()>& step) {
  ++blockingSteps;
  step();
  if (closed) throw WindowClosed{};
}

std::vector<std::u16string> FormModel::BoxTexts() const {
  std::vector<std::u16string> texts;
  for (const Box& b : boxes) texts.push_back(b.text);
  return texts;
}

}  // namespace tacho
