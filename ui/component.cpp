#include "ui/component.h"

#include <algorithm>

namespace sentavo::ui {

Component::Component(Component* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->Insert(*this);
}

Component::~Component() {
  DestroyComponents();
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
  while (!components_.empty()) delete components_.back();  // each removes itself from the list
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
