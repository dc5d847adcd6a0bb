#include "tarvela/runtime/class_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tarvela {
namespace {

class TRegButton : public TComponent {
 public:
  using TComponent::TComponent;
  std::string_view ClassName() const override { return "TRegButton"; }
};

class TRegEdit : public TComponent {
 public:
  using TComponent::TComponent;
  std::string_view ClassName() const override { return "TRegEdit"; }
};

// Leaves the shared registry as it found it.
class ClassRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name : {"TRegButton", "TRegEdit", "TRegAlias"}) registry.Unregister(name);
  }
  ClassRegistry& registry = ClassRegistry::Instance();
};

TEST_F(ClassRegistryTest, CreatesARegisteredClassOwnedByTheOwner) {
  registry.Register<TRegButton>("TRegButton");
  TComponent owner(nullptr);
  TComponent* created = registry.Create("TRegButton", &owner);
  EXPECT_EQ(created->ClassName(), "TRegButton");
  EXPECT_EQ(created->Owner(), &owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(ClassRegistryTest, WithoutOwnerTheCallerOwnsTheComponent) {
  registry.Register<TRegButton>("TRegButton");
  std::unique_ptr<TComponent> created(registry.Create("TRegButton", nullptr));
  EXPECT_EQ(created->Owner(), nullptr);
}

TEST_F(ClassRegistryTest, UnknownClassIsAnErrorNamingIt) {
  TComponent owner(nullptr);
  try {
    registry.Create("TNoSuchThing", &owner);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(ClassRegistryTest, NamesIgnoreLetterCaseAndRegisteringAgainReplaces) {
  registry.Register<TRegButton>("TRegButton");
  EXPECT_TRUE(registry.IsRegistered("tregbutton"));
  registry.Register<TRegEdit>("TREGBUTTON");
  std::unique_ptr<TComponent> created(registry.Create("TRegButton", nullptr));
  EXPECT_EQ(created->ClassName(), "TRegEdit");
  registry.Unregister("TRegButton");
  EXPECT_FALSE(registry.IsRegistered("TRegButton"));
}

TEST_F(ClassRegistryTest, ClassNamesAreSortedAsRegistered) {
  registry.Register<TRegEdit>("TRegEdit");
  registry.Register("TRegAlias", [](TComponent* owner) { return new TRegButton(owner); });
  registry.Register<TRegButton>("TRegButton");
  std::vector<std::string> names = registry.ClassNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  auto at = std::find(names.begin(), names.end(), "TRegAlias");
  ASSERT_LE(at + 3, names.end());
  EXPECT_EQ(*(at + 1), "TRegButton");
  EXPECT_EQ(*(at + 2), "TRegEdit");
}

TEST_F(ClassRegistryTest, AFactoryReturningNothingIsAnError) {
  registry.Register("TRegAlias", [](TComponent*) -> TComponent* { return nullptr; });
  EXPECT_THROW(registry.Create("TRegAlias", nullptr), Exception);
}

}  // namespace
}  // namespace tarvela
