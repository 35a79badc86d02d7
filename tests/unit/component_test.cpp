#include "ui/component.h"

#include <gtest/gtest.h>

namespace sentavo::ui {
namespace {

std::vector<std::string>* gLog = nullptr;

// Records what it hears, and drops its reference to a partner that goes away.
class Probe : public Component {
 public:
  Probe(Component* owner, std::string name) : Component(owner, std::move(name)) {}
  // As a form does: its components go while its own overrides still run.
  ~Probe() override {
    gLog->push_back("free " + name());
    DestroyComponents();
  }
  Component* partner = nullptr;

 protected:
  void Loaded() override { gLog->push_back("loaded " + name()); }
  void Notification(Component& c, Operation op) override {
    gLog->push_back(name() + (op == Operation::Insert ? " saw insert " : " saw remove ") +
                    c.name());
    if (op == Operation::Remove && &c == partner) partner = nullptr;
    Component::Notification(c, op);
  }
};

class ComponentModel : public ::testing::Test {
 protected:
  void SetUp() override { gLog = &log; }
  void TearDown() override { gLog = nullptr; }
  std::vector<std::string> log;
};

TEST_F(ComponentModel, TheOwnerFreesWhatItOwnsNewestFirst) {
  {
    Probe form(nullptr, "form");
    MakeOwned<Probe>(form, "a");
    MakeOwned<Probe>(form, "b");
    EXPECT_EQ(form.components().size(), 2u);
    EXPECT_EQ(form.FindComponent("b")->name(), "b");
    EXPECT_EQ(form.FindComponent("c"), nullptr);
    log.clear();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"free form", "free b", "form saw remove b",
                                           "a saw remove b", "free a", "form saw remove a"}));
}

TEST_F(ComponentModel, SiblingsHearOfARemovalAndDropTheirReference) {
  Probe form(nullptr, "form");
  auto& lock = MakeOwned<Probe>(form, "SysLock");
  auto* button = &MakeOwned<Probe>(form, "Startbutton");
  lock.partner = button;
  log.clear();
  delete button;
  EXPECT_EQ(lock.partner, nullptr);
  EXPECT_EQ(form.components(), std::vector<Component*>{&lock});
  EXPECT_EQ(log, (std::vector<std::string>{"free Startbutton", "form saw remove Startbutton",
                                           "SysLock saw remove Startbutton"}));
}

TEST_F(ComponentModel, LoadedComesAfterTheStoredValuesAreApplied) {
  Probe lock(nullptr, "SysLock");
  EXPECT_FALSE(lock.IsLoading());
  lock.BeginLoading();
  EXPECT_TRUE(lock.IsLoading());
  EXPECT_TRUE(log.empty());
  lock.EndLoading();
  EXPECT_FALSE(lock.IsLoading());
  EXPECT_EQ(log, std::vector<std::string>{"loaded SysLock"});
}

}  // namespace
}  // namespace sentavo::ui
