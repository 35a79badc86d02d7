// The owned component: every window and non-visual part of both programs is owned by a form, which
// frees what it owns. A component has a name, knows when its owner is applying its stored values
// (loading) and hears when those are all applied (Loaded) and when another component of the same
// owner goes away (Notification), so that it can drop references to it.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sentavo::ui {

enum class Operation { Insert, Remove };

class Component {
 public:
  // With an owner, the owner frees this component; without one, whoever made it does.
  explicit Component(Component* owner = nullptr, std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Component* owner() const { return owner_; }
  const std::string& name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Owned components in order of creation.
  const std::vector<Component*>& components() const { return components_; }
  Component* FindComponent(const std::string& name) const;

  // The owner applies stored values between these two; EndLoading runs Loaded().
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool IsLoading() const { return loading_; }

  // Frees every owned component, newest first. A form calls it from its own destructor when its
  // components must go while the form's own members still exist.
  void DestroyComponents();

 protected:
  // All stored values have been applied.
  virtual void Loaded() {}
  // `component`, owned by the same owner as this one (or by this one), was just added or is being
  // removed. An owner passes the news on to everything it owns.
  virtual void Notification(Component& component, Operation operation);

 private:
  void Insert(Component& child);
  void Remove(Component& child);

  Component* owner_;
  std::string name_;
  std::vector<Component*> components_;
  bool loading_ = false;
};

// Creates a component owned by `owner`: `T` takes the owner as its first constructor argument.
template <class T, class... Args>
T& MakeOwned(Component& owner, Args&&... args) {
  return *new T(&owner, std::forward<Args>(args)...);
}

}  // namespace sentavo::ui
