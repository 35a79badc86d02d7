// The owned component: every window and non-visual part of both programs belongs to a form. A
// component has a name, knows when its owner is applying its stored values (loading) and hears
// when those are all applied (Loaded) and when another component of the same owner goes away
// (Notification), so that it can drop references to it.
//
// Belonging is not freeing: a form holds its components as members (plain or std::unique_ptr),
// declared in the order they must go, so no form has to free anything by hand. Only a component
// made with MakeOwned is freed by its owner, when the owner goes.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sentavo::ui {

enum class Operation { Insert, Remove };

class Component {
 public:
  // `owner` hears of this component; whoever made it frees it (MakeOwned: the owner).
  explicit Component(Component* owner = nullptr, std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Component* owner() const { return owner_; }
  const std::string& name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // The components of this owner in order of creation.
  const std::vector<Component*>& components() const { return components_; }
  Component* FindComponent(const std::string& name) const;

  // The owner applies stored values between these two; EndLoading runs Loaded().
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool IsLoading() const { return loading_; }

  // Frees every component made with MakeOwned for this owner, newest first. The owner's destructor
  // does it; call it sooner when such components must go while the caller's members still exist.
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

  template <class T, class... Args>
  friend T& MakeOwned(Component& owner, Args&&... args);

  Component* owner_;
  bool freedByOwner_ = false;
  std::string name_;
  std::vector<Component*> components_;
  bool loading_ = false;
};

// Creates a component that `owner` frees: `T` takes the owner as its first constructor argument.
// For components made at run time; a form's own components are its members.
template <class T, class... Args>
T& MakeOwned(Component& owner, Args&&... args) {
  T* made = new T(&owner, std::forward<Args>(args)...);
  made->freedByOwner_ = true;
  return *made;
}

}  // namespace sentavo::ui
