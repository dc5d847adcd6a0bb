#include "tarvela/runtime/component.h"

#include <algorithm>

#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/identifiers.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  m_destroying = true;
  m_subscriptions.ForEach([this](TComponent* target) { target->m_subscribers.Remove(this); });
  m_subscriptions.Clear();
  // A subscriber may drop other links while it hears of this one, so the set is
  // re-read after every notice.
  while (!m_subscribers.Empty()) {
    TComponent* subscriber = m_subscribers.TakeFirst();
    subscriber->m_subscriptions.Remove(this);
    subscriber->Notification(this, opRemove);
  }
  DestroyComponents();
  if (m_owner != nullptr) {
    TComponent* owner = m_owner;
    if (!m_detached) owner->Detach(this);
    m_owner = nullptr;
    owner->Notification(this, opRemove);
  }
}

std::string_view TComponent::ClassName() const { return "TComponent"; }

const PropertyTable& TComponent::PublishedProperties() {
  // Name is published, but a description gives it in the object line, so it is
  // never a property line of its own.
  static const PropertyTable kTable(
      nullptr, {StringProperty<TComponent>("Name", &TComponent::Name, &TComponent::SetName,
                                           [](const TComponent&) { return false; }),
                IntProperty<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag,
                                        [](const TComponent& c) { return c.Tag() != 0; })});
  return kTable;
}

const PropertyTable& TComponent::Properties() const { return PublishedProperties(); }

void TComponent::SetName(const std::string& name) {
  if (name == m_name) return;
  if (!name.empty() && !IsValidIdent(name))
    throw Exception("'" + name + "' is not a valid component name");
  if (m_owner != nullptr) {
    std::unordered_map<std::string, TComponent*>& named = m_owner->m_named;
    std::string key = IdentKey(name);
    if (!name.empty()) {
      auto [entry, fresh] = named.try_emplace(key, this);
      if (!fresh && entry->second != this) throw Exception("A component named " + name + " already exists");
    }
    // A change of letter case alone keeps the key.
    if (!m_name.empty() && (name.empty() || !SameIdent(name, m_name))) named.erase(IdentKey(m_name));
  }
  m_name = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) ThrowListIndexError(index);
  return m_components[static_cast<std::size_t>(index)].get();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  auto entry = m_named.find(IdentKey(name));
  return entry == m_named.end() ? nullptr : entry->second;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->m_owner == this) return;
  for (const TComponent* c = this; c != nullptr; c = c->m_owner)
    if (c == component) throw Exception("A component cannot own itself or one of its owners");
  if (!component->m_name.empty() && FindComponent(component->m_name) != nullptr)
    throw Exception("A component named " + component->m_name + " already exists");
  // Nothing may throw between leaving the old owner and joining this one, so the
  // name takes its place first.
  if (m_components.size() == m_components.capacity()) m_components.reserve(std::max<std::size_t>(8, 2 * m_components.size()));
  if (!component->m_name.empty()) m_named.emplace(IdentKey(component->m_name), component);
  if (component->m_hearsOfSiblings) m_listeners.Add(component);
  if (component->m_owner != nullptr) component->m_owner->RemoveComponent(component);
  m_components.emplace_back(component);
  component->m_owner = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->m_owner != this) return;
  Detach(component);
  component->m_owner = nullptr;
  Notification(component, opRemove);
}

void TComponent::Detach(TComponent* component) {
  auto it = std::find_if(m_components.begin(), m_components.end(),
                         [component](const auto& owned) { return owned.get() == component; });
  if (it == m_components.end()) return;
  it->release();
  m_components.erase(it);
  if (!component->m_name.empty()) m_named.erase(IdentKey(component->m_name));
  m_listeners.Remove(component);
}

void TComponent::DestroyComponents() {
  // Taken out of the list before it dies, so that a dying component is never found
  // by its siblings; its destructor may destroy others, hence one at a time.
  while (!m_components.empty()) {
    std::unique_ptr<TComponent> last = std::move(m_components.back());
    m_components.pop_back();
    if (!last->m_name.empty()) m_named.erase(IdentKey(last->m_name));
    m_listeners.Remove(last.get());
    last->m_detached = true;
    last.reset();
  }
}

void TComponent::FreeNotification(TComponent* subscriber) {
  if (subscriber == nullptr || subscriber == this) return;
  if (m_subscribers.Add(subscriber)) subscriber->m_subscriptions.Add(this);
}

void TComponent::RemoveFreeNotification(TComponent* subscriber) {
  if (subscriber == nullptr) return;
  if (m_subscribers.Remove(subscriber)) subscriber->m_subscriptions.Remove(this);
}

// [SECTION] LinkSet

bool TComponent::LinkSet::Add(TComponent* component) {
  if (!m_index.try_emplace(component, m_items.size()).second) return false;
  m_items.push_back(component);
  return true;
}

bool TComponent::LinkSet::Remove(TComponent* component) {
  auto entry = m_index.find(component);
  if (entry == m_index.end()) return false;
  m_items[entry->second] = nullptr;
  m_index.erase(entry);
  if (m_index.empty()) {
    Clear();
  } else if (m_items.size() - m_first > 2 * m_index.size() + 8) {
    Compact();
  }
  return true;
}

TComponent* TComponent::LinkSet::TakeFirst() {
  while (m_items[m_first] == nullptr) ++m_first;
  TComponent* first = m_items[m_first];
  Remove(first);
  return first;
}

std::vector<TComponent*> TComponent::LinkSet::Items() const {
  std::vector<TComponent*> items;
  items.reserve(m_index.size());
  ForEach([&items](TComponent* component) { items.push_back(component); });
  return items;
}

void TComponent::LinkSet::Clear() {
  m_items.clear();
  m_index.clear();
  m_first = 0;
}

// More holes than links: the links close up, in their order.
void TComponent::LinkSet::Compact() {
  std::size_t kept = 0;
  for (std::size_t i = m_first; i < m_items.size(); ++i) {
    if (m_items[i] == nullptr) continue;
    m_index[m_items[i]] = kept;
    m_items[kept++] = m_items[i];
  }
  m_items.resize(kept);
  m_first = 0;
}

void TComponent::Loaded() { m_loading = false; }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove || m_listeners.Empty()) return;
  // A component may destroy a sibling while it hears the notice: one that has left
  // meanwhile hears nothing more.
  for (TComponent* listener : m_listeners.Items())
    if (listener != component && m_listeners.Contains(listener)) listener->Notification(component, operation);
}

void TComponent::SetHearsOfSiblings(bool hears) {
  if (hears == m_hearsOfSiblings) return;
  m_hearsOfSiblings = hears;
  if (m_owner == nullptr) return;
  if (hears) {
    m_owner->m_listeners.Add(this);
  } else {
    m_owner->m_listeners.Remove(this);
  }
}

void TComponent::SetParentComponent(TComponent*) {}

TComponent* TComponent::ParentComponent() const { return nullptr; }

std::any TComponent::MethodAddress(std::string_view) { return {}; }

}  // namespace tarvela
