#include "tarvela/runtime/component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {
namespace {

// Notes its notifications and its destruction; may hold a reference to another
// component and destroy a victim from its destructor.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, const std::string& name, std::vector<std::string>* log) : TComponent(owner), m_log(log) {
    SetName(name);
  }
  ~Probe() override {
    if (victim != nullptr) delete victim;
    m_log->push_back("~" + Name());
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    m_log->push_back(Name() + (operation == opInsert ? " +" : " -") + component->Name());
    if (operation == opRemove && component == reference) reference = nullptr;
    if (operation == opRemove && component == victim) victim = nullptr;
  }

  TComponent* reference = nullptr;
  TComponent* victim = nullptr;

 private:
  std::vector<std::string>* m_log;
};

// The entries of log that start with prefix.
std::vector<std::string> Only(const std::vector<std::string>& log, char first) {
  std::vector<std::string> out;
  for (const std::string& entry : log)
    if (!entry.empty() && entry[0] == first) out.push_back(entry);
  return out;
}

TEST(Component, OwnerDestroysOwnedComponentsLastInsertedFirst) {
  std::vector<std::string> log;
  {
    Probe owner(nullptr, "Owner", &log);
    new Probe(&owner, "A", &log);
    new Probe(&owner, "B", &log);
    auto* c = new Probe(&owner, "C", &log);
    new Probe(c, "D", &log);  // grandchild: dies with C
    EXPECT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(c->Owner(), &owner);
  }
  // Each notes its death before the base destroys what it owns.
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~Owner", "~C", "~D", "~B", "~A"}));
}

TEST(Component, OwnerHearsOfInsertionAndRemovalOfItsComponents) {
  std::vector<std::string> log;
  Probe owner(nullptr, "Owner", &log);
  auto* a = new Probe(&owner, "", &log);
  a->SetName("A");
  delete a;
  // The name is set after the constructor's insertion, hence " +" with no name.
  EXPECT_EQ(log, (std::vector<std::string>{"Owner +", "~A", "Owner -A"}));
}

TEST(Component, ComponentDestroyedDirectlyLeavesItsOwner) {
  std::vector<std::string> log;
  Probe owner(nullptr, "Owner", &log);
  auto* a = new Probe(&owner, "A", &log);
  auto b = std::make_unique<Probe>(&owner, "B", &log);
  new Probe(&owner, "C", &log);
  delete a;
  b.reset();
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0)->Name(), "C");
  EXPECT_EQ(owner.FindComponent("A"), nullptr);
}

TEST(Component, SiblingsHearOfARemovedComponentThroughTheOwner) {
  std::vector<std::string> log;
  Probe owner(nullptr, "Owner", &log);
  auto* target = new Probe(&owner, "Target", &log);
  auto* holder = new Probe(&owner, "Holder", &log);
  holder->reference = target;
  delete target;
  EXPECT_EQ(holder->reference, nullptr);
}

TEST(Component, DestructorsMayDestroySiblingsInEitherOrder) {
  std::vector<std::string> log;
  {
    Probe owner(nullptr, "Owner", &log);
    // Inserted before its killer, so still alive when the killer dies: it must
    // leave the owner's list so the owner does not destroy it again.
    auto* early = new Probe(&owner, "Early", &log);
    auto* killer = new Probe(&owner, "Killer", &log);
    killer->victim = early;
    // Inserted after its killer, so the owner destroys it first: the killer hears
    // of it through the owner and must not delete it again.
    auto* killer2 = new Probe(&owner, "Killer2", &log);
    killer2->victim = new Probe(&owner, "Late", &log);
  }
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~Owner", "~Late", "~Killer2", "~Early", "~Killer"}));
}

TEST(Component, FreeNotificationTellsTheSubscriberWhenTheTargetDies) {
  std::vector<std::string> log;
  Probe subscriber(nullptr, "Sub", &log);
  auto* target = new Probe(nullptr, "Target", &log);
  target->FreeNotification(&subscriber);
  target->FreeNotification(&subscriber);  // once is enough
  subscriber.reference = target;
  delete target;
  EXPECT_EQ(subscriber.reference, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"~Target", "Sub -Target"}));
}

TEST(Component, FreeNotificationIsForgottenWhenTheSubscriberDiesFirst) {
  std::vector<std::string> log;
  auto target = std::make_unique<Probe>(nullptr, "Target", &log);
  {
    Probe subscriber(nullptr, "Sub", &log);
    target->FreeNotification(&subscriber);
    subscriber.FreeNotification(target.get());  // the other way too: both links go
  }
  target.reset();  // would reach the dead subscriber if the link had stayed
  EXPECT_EQ(log, (std::vector<std::string>{"~Sub", "Target -Sub", "~Target"}));
}

TEST(Component, RemoveFreeNotificationStopsTheNotice) {
  std::vector<std::string> log;
  Probe subscriber(nullptr, "Sub", &log);
  auto* target = new Probe(nullptr, "Target", &log);
  target->FreeNotification(&subscriber);
  target->RemoveFreeNotification(&subscriber);
  delete target;
  EXPECT_EQ(log, (std::vector<std::string>{"~Target"}));
}

TEST(Component, DestroyingIsSetWhileTheBaseTearsDown) {
  struct Watcher : TComponent {
    using TComponent::TComponent;
    bool sawDestroying = false;
    void Notification(TComponent* c, TOperation op) override {
      if (op == opRemove) sawDestroying = c->Destroying();
    }
  } watcher(nullptr);
  auto* target = new TComponent(nullptr);
  EXPECT_FALSE(target->Destroying());
  target->FreeNotification(&watcher);
  delete target;
  EXPECT_TRUE(watcher.sawDestroying);
}

TEST(Component, NamesAreUniqueAmongTheOwnersComponentsIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Label1");
  try {
    b->SetName("LABEL1");
    FAIL() << "duplicate accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "A component named LABEL1 already exists");
  }
  EXPECT_EQ(b->Name(), "");
  a->SetName("label1");  // its own name in another case is no clash
  EXPECT_EQ(owner.FindComponent("LaBeL1"), a);
  TComponent other(nullptr);
  (new TComponent(&other))->SetName("Label1");  // another owner's namespace
  EXPECT_EQ(owner.FindComponent("Nothing"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

// Many components under one owner: names are found, freed and taken again, and a
// component that does not hear of its siblings still hears through free notification.
TEST(Component, ManyComponentsKeepTheirNamesAndNoticesApart) {
  struct Quiet : Probe {
    Quiet(TComponent* owner, const std::string& name, std::vector<std::string>* log) : Probe(owner, name, log) {
      SetHearsOfSiblings(false);
    }
  };
  std::vector<std::string> log;
  Probe owner(nullptr, "Owner", &log);
  std::vector<TComponent*> many;
  for (int i = 0; i < 1000; ++i) {
    std::string name = "C";
    name += std::to_string(i);
    many.push_back(new Quiet(&owner, name, &log));
  }
  EXPECT_EQ(owner.FindComponent("c999"), many[999]);
  many[10]->SetName("Renamed");
  EXPECT_EQ(owner.FindComponent("C10"), nullptr);
  many[11]->SetName("c10");  // the old name is free again
  EXPECT_EQ(owner.FindComponent("C10"), many[11]);
  EXPECT_THROW(many[12]->SetName("RENAMED"), Exception);
  delete many[20];
  (new TComponent(&owner))->SetName("C20");  // a dead component's name is free
  auto* loud = new Probe(&owner, "Loud", &log);
  auto* quiet = static_cast<Quiet*>(many[30]);
  loud->reference = many[40];
  quiet->reference = many[50];
  many[50]->FreeNotification(quiet);
  log.clear();
  delete many[40];
  delete many[50];
  EXPECT_EQ(loud->reference, nullptr);
  EXPECT_EQ(quiet->reference, nullptr);
  // The quiet ones heard nothing of the first death; the loud one heard of both.
  EXPECT_EQ(std::count(log.begin(), log.end(), "C30 -C40"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "C30 -C50"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Loud -C50"), 1);
}

TEST(Component, NameMustBeEmptyOrAnIdentifier) {
  TComponent c(nullptr);
  EXPECT_THROW(c.SetName("1st"), Exception);
  EXPECT_THROW(c.SetName("two words"), Exception);
  EXPECT_THROW(c.SetName("Caf\xC3\xA9"), Exception);
  c.SetName("_ok9");
  c.SetName("");
  EXPECT_EQ(c.Name(), "");
}

TEST(Component, ComponentsIndexOutOfRangeIsAListError) {
  TComponent owner(nullptr);
  new TComponent(&owner);
  EXPECT_NE(owner.Components(0), nullptr);
  try {
    owner.Components(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(Component, InsertComponentMovesOwnershipBetweenOwners) {
  std::vector<std::string> log;
  Probe first(nullptr, "First", &log);
  auto* moved = new Probe(&first, "Moved", &log);
  {
    Probe second(nullptr, "Second", &log);
    second.InsertComponent(moved);
    EXPECT_EQ(moved->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.FindComponent("Moved"), moved);
  }
  // second destroyed it; first must not destroy it again (ASan would tell).
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~Second", "~Moved"}));
  EXPECT_NE(std::find(log.begin(), log.end(), "First -Moved"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "Second +Moved"), log.end());
}

TEST(Component, InsertComponentRefusesANameClashAndKeepsTheOldOwner) {
  TComponent first(nullptr), second(nullptr);
  auto* a = new TComponent(&first);
  a->SetName("Same");
  (new TComponent(&second))->SetName("same");
  EXPECT_THROW(second.InsertComponent(a), Exception);
  EXPECT_EQ(a->Owner(), &first);
  EXPECT_EQ(first.ComponentCount(), 1);
}

TEST(Component, InsertComponentRefusesOwnershipCycles) {
  TComponent root(nullptr);
  auto* child = new TComponent(&root);
  auto* grandchild = new TComponent(child);
  EXPECT_THROW(grandchild->InsertComponent(child), Exception);
  EXPECT_THROW(child->InsertComponent(child), Exception);
  EXPECT_EQ(grandchild->Owner(), child);
  EXPECT_EQ(child->Owner(), &root);
}

TEST(Component, RemoveComponentGivesOwnershipToTheCaller) {
  TComponent owner(nullptr);
  std::unique_ptr<TComponent> freed(new TComponent(&owner));
  owner.RemoveComponent(freed.get());
  EXPECT_EQ(freed->Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 0);
  TComponent stranger(nullptr);
  stranger.RemoveComponent(freed.get());  // not its component: nothing happens
}

TEST(Component, LoadedEndsTheLoadingState) {
  TComponent c(nullptr);
  c.SetLoading(true);
  EXPECT_TRUE(c.Loading());
  c.Loaded();
  EXPECT_FALSE(c.Loading());
}

TEST(Component, NameIsPublishedButNotStoredAndTagOnlyWhenSet) {
  TComponent c(nullptr);
  const PropertyInfo* name = c.Properties().Find("name");
  ASSERT_NE(name, nullptr);
  EXPECT_FALSE(IsStored(c, *name));
  const PropertyInfo* tag = c.Properties().Find("Tag");
  ASSERT_NE(tag, nullptr);
  EXPECT_FALSE(IsStored(c, *tag));
  SetPropertyPath(c, "Tag", PropertyValue::Integer(-7));
  EXPECT_TRUE(IsStored(c, *tag));
  EXPECT_EQ(c.Tag(), -7);
}

}  // namespace
}  // namespace tarvela
