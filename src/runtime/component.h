#pragma once
/// The component base: an object with a name, an owner that destroys it, the
/// components it owns in turn, and notifications of insertion and removal. Forms,
/// controls, chart series and the chart itself are components; a form description
/// creates them by class name and sets their published properties.
///
/// Not a widget and not a window: nothing here draws or knows Qt. Not reference
/// counted: an owner holds its components; every other pointer between components
/// is a plain reference, kept valid because the referring side asks for free
/// notification (or shares the owner, whose removal notice reaches all of its
/// components) and clears the pointer when it hears of the removal.
/// @file
#include <any>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tarvela/runtime/persistent.h"

namespace tarvela {

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  /// Inserts itself into owner's components; owner may be null. A component with an
  /// owner must live on the heap: the owner deletes it.
  explicit TComponent(TComponent* owner);
  /// Marks itself destroying, tells its free-notification subscribers, destroys its
  /// components (last inserted first) and leaves its owner.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string_view ClassName() const override;
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override;

  // settings
  const std::string& Name() const { return m_name; }
  /// Empty or an identifier, unique (letter case ignored) among the owner's components.
  void SetName(const std::string& name);
  /// A number for the program's own use; the component ignores it.
  std::int64_t Tag() const { return m_tag; }
  void SetTag(std::int64_t tag) { m_tag = tag; }

  // operations: ownership
  TComponent* Owner() const { return m_owner; }
  int ComponentCount() const { return static_cast<int>(m_components.size()); }
  TComponent* Components(int index) const;  ///< EListError when out of range
  TComponent* FindComponent(std::string_view name) const;  ///< letter case ignored; null if none
  /// Takes ownership, taking the component from its previous owner.
  void InsertComponent(TComponent* component);
  /// Gives ownership up: the caller owns the component from then on.
  void RemoveComponent(TComponent* component);
  /// Destroys the owned components now, last inserted first. A subclass whose
  /// components call back into it calls this from its own destructor, while it is
  /// still whole.
  void DestroyComponents();

  // operations: state
  bool Loading() const { return m_loading; }  ///< while a description is read into it
  void SetLoading(bool loading) { m_loading = loading; }
  /// From the start of the base destructor on, so a subclass's own destructor body
  /// still sees false; what dies with it (its components, its subscribers) sees true.
  bool Destroying() const { return m_destroying; }

  // operations: free notification
  /// subscriber->Notification(this, opRemove) when this component is destroyed. Both
  /// sides forget the link when either one is destroyed.
  void FreeNotification(TComponent* subscriber);
  void RemoveFreeNotification(TComponent* subscriber);

  // overridable steps
  /// Once, when a description has been read in full; the base ends the loading state.
  virtual void Loaded();
  /// opInsert when a component joins this one's components; opRemove when one
  /// leaves them or dies, and when a component this one subscribed to dies. The base
  /// passes every opRemove on to the owned components, so that siblings that refer
  /// to a dying component hear of it (those that hear of siblings, see below).
  virtual void Notification(TComponent* component, TOperation operation);
  /// The enclosing object in a description (a control's parent, a series' chart);
  /// the base has none.
  virtual void SetParentComponent(TComponent* parent);
  virtual TComponent* ParentComponent() const;
  /// The handler of that name a root (a form) publishes, as the std::function type
  /// of the event; an empty std::any if there is none.
  virtual std::any MethodAddress(std::string_view name);

 protected:
  /// A class whose every reference to another component is kept by free notification
  /// needs no notice of its siblings' removal, and then does not cost its owner a call
  /// for each one: many series in one chart would make a teardown take minutes.
  void SetHearsOfSiblings(bool hears);

 private:
  /// Leaves m_components without destroying the component and without telling anyone.
  void Detach(TComponent* component);

  // state
  TComponent* m_owner = nullptr;
  std::string m_name;
  std::int64_t m_tag = 0;
  std::vector<std::unique_ptr<TComponent>> m_components;
  /// The named ones among m_components by IdentKey: a name is checked for clashes and
  /// found without comparing it with every other one.
  std::unordered_map<std::string, TComponent*> m_named;
  /// Components in the order they were added, each once. A chart and each of its many
  /// series subscribe to one another, so adding, finding and removing one must not
  /// take longer the more there are: a removed one leaves a hole, filled in later.
  class LinkSet {
   public:
    bool Empty() const { return m_index.empty(); }
    bool Contains(TComponent* component) const { return m_index.contains(component); }
    /// In their order, with no holes.
    std::vector<TComponent*> Items() const;
    bool Add(TComponent* component);
    bool Remove(TComponent* component);
    /// The first one added of those still here, taken out of the set; there must be one.
    TComponent* TakeFirst();
    template <class F>
    void ForEach(F apply) const {
      for (std::size_t i = m_first; i < m_items.size(); ++i)
        if (m_items[i] != nullptr) apply(m_items[i]);
    }
    void Clear();

   private:
    void Compact();
    std::vector<TComponent*> m_items;  ///< null where one was removed
    std::unordered_map<TComponent*, std::size_t> m_index;  ///< into m_items
    std::size_t m_first = 0;  ///< no one before it
  };
  LinkSet m_listeners;      ///< the owned components that hear of their siblings' removal
  LinkSet m_subscribers;    ///< told when this one dies
  LinkSet m_subscriptions;  ///< components this one is a subscriber of
  bool m_loading = false;
  bool m_destroying = false;
  bool m_hearsOfSiblings = true;
  bool m_detached = false;  ///< already taken out of its owner's list by DestroyComponents
};

}  // namespace tarvela
