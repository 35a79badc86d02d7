#include "ui/component.h"

#include <gtest/gtest.h>

#include <memory>

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

// A form's components are its members: the form hears of them but frees none of them.
TEST_F(ComponentModel, AComponentHeldByItsMakerIsHeardOfButNotFreedByTheOwner) {
  std::unique_ptr<Probe> held;
  {
    Probe form(nullptr, "form");
    auto tray = std::make_unique<Probe>(&form, "BUTrayIcon1");
    Probe menu(&form, "PopupMenu1");
    MakeOwned<Probe>(form, "made");
    held = std::make_unique<Probe>(&form, "Timer1");
    EXPECT_EQ(form.components().size(), 4u);
    log.clear();
    tray.reset();
    EXPECT_EQ(form.components().size(), 3u);
    EXPECT_EQ(log, (std::vector<std::string>{"free BUTrayIcon1", "form saw remove BUTrayIcon1",
                                             "PopupMenu1 saw remove BUTrayIcon1",
                                             "made saw remove BUTrayIcon1",
                                             "Timer1 saw remove BUTrayIcon1"}));
    log.clear();
  }
  // Members go first, in reverse order of declaration; then the form frees only what it made, and
  // what outlives it no longer points at it.
  EXPECT_EQ(log, (std::vector<std::string>{"free PopupMenu1", "form saw remove PopupMenu1",
                                           "made saw remove PopupMenu1",
                                           "Timer1 saw remove PopupMenu1", "free form", "free made",
                                           "form saw remove made", "Timer1 saw remove made"}));
  EXPECT_EQ(held->owner(), nullptr);
  log.clear();
  held.reset();
  EXPECT_EQ(log, std::vector<std::string>{"free Timer1"});
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
