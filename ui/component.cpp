#include "ui/component.h"

#include <algorithm>

namespace sentavo::ui {

Component::Component(Component* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->Insert(*this);
}

Component::~Component() {
  DestroyComponents();
  // Components held elsewhere that outlive this owner no longer point at it.
  for (Component* c : components_) c->owner_ = nullptr;
  if (owner_) owner_->Remove(*this);
}

Component* Component::FindComponent(const std::string& name) const {
  for (Component* c : components_) {
    if (!name.empty() && c->name() == name) return c;
  }
  return nullptr;
}

void Component::EndLoading() {
  loading_ = false;
  Loaded();
}

void Component::DestroyComponents() {
  for (;;) {
    const auto newest = std::find_if(components_.rbegin(), components_.rend(),
                                     [](const Component* c) { return c->freedByOwner_; });
    if (newest == components_.rend()) return;
    delete *newest;  // removes itself from the list
  }
}

void Component::Notification(Component& component, Operation operation) {
  if (component.owner() != this) return;
  for (Component* c : components_) {
    if (c != &component) c->Notification(component, operation);
  }
}

void Component::Insert(Component& child) {
  components_.push_back(&child);
  Notification(child, Operation::Insert);
}

void Component::Remove(Component& child) {
  std::erase(components_, &child);
  Notification(child, Operation::Remove);
}

}  // namespace sentavo::ui
