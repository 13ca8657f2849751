#include "WindowDescription.h"

#include <algorithm>

namespace tacho {

std::vector<ControlId> TabOrder(ControlId container) {
  std::vector<const ControlDesc*> children;
  for (const ControlDesc& c : kControls) {
    if (c.id != ControlId::Form1 && c.parent == container && c.tab >= 0) children.push_back(&c);
  }
  std::stable_sort(children.begin(), children.end(),
                   [](const ControlDesc* a, const ControlDesc* b) { return a->tab < b->tab; });
  std::vector<ControlId> order;
  for (const ControlDesc* c : children) order.push_back(c->id);
  return order;
}

namespace {

void AppendChain(ControlId container, std::vector<ControlId>& chain) {
  for (ControlId id : TabOrder(container)) {
    switch (Describe(id).kind) {
      case ControlKind::PageControl:
        chain.push_back(id);  // its row of tabs takes the focus itself
        AppendChain(id, chain);
        break;
      case ControlKind::Panel:
      case ControlKind::Page:
      case ControlKind::GroupBox:
        AppendChain(id, chain);
        break;
      default:
        chain.push_back(id);
    }
  }
}

}  // namespace

std::vector<ControlId> FocusChain() {
  std::vector<ControlId> chain;
  AppendChain(ControlId::Form1, chain);
  return chain;
}

}  // namespace tacho
