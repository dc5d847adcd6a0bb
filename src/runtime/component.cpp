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
  for (TComponent* target : m_subscriptions) std::erase(target->m_subscribers, this);
  m_subscriptions.clear();
  // A subscriber may drop other links while it hears of this one, so the list is
  // re-read after every notice.
  while (!m_subscribers.empty()) {
    TComponent* subscriber = m_subscribers.front();
    m_subscribers.erase(m_subscribers.begin());
    std::erase(subscriber->m_subscriptions, this);
    subscriber->Notification(this, opRemove);
  }
  DestroyComponents();
  if (m_owner != nullptr) {
    TComponent* owner = m_owner;
    owner->Detach(this);  // a no-op when the owner is the one destroying it
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
  if (m_owner != nullptr && !name.empty()) {
    TComponent* other = m_owner->FindComponent(name);
    if (other != nullptr && other != this) throw Exception("A component named " + name + " already exists");
  }
  m_name = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) ThrowListIndexError(index);
  return m_components[static_cast<std::size_t>(index)].get();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& component : m_components)
    if (SameIdent(component->m_name, name)) return component.get();
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->m_owner == this) return;
  for (const TComponent* c = this; c != nullptr; c = c->m_owner)
    if (c == component) throw Exception("A component cannot own itself or one of its owners");
  if (!component->m_name.empty() && FindComponent(component->m_name) != nullptr)
    throw Exception("A component named " + component->m_name + " already exists");
  // Nothing may throw between leaving the old owner and joining this one.
  m_components.reserve(m_components.size() + 1);
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
}

void TComponent::DestroyComponents() {
  // Taken out of the list before it dies, so that a dying component is never found
  // by its siblings; its destructor may destroy others, hence one at a time.
  while (!m_components.empty()) {
    std::unique_ptr<TComponent> last = std::move(m_components.back());
    m_components.pop_back();
    last.reset();
  }
}

void TComponent::FreeNotification(TComponent* subscriber) {
  if (subscriber == nullptr || subscriber == this) return;
  if (std::find(m_subscribers.begin(), m_subscribers.end(), subscriber) != m_subscribers.end()) return;
  m_subscribers.push_back(subscriber);
  subscriber->m_subscriptions.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* subscriber) {
  if (subscriber == nullptr) return;
  if (std::erase(m_subscribers, subscriber) > 0) std::erase(subscriber->m_subscriptions, this);
}

void TComponent::Loaded() { m_loading = false; }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove) return;
  // By index: a component may destroy a sibling while it hears the notice.
  for (std::size_t i = 0; i < m_components.size(); ++i) {
    TComponent* owned = m_components[i].get();
    if (owned != component) owned->Notification(component, operation);
  }
}

void TComponent::SetParentComponent(TComponent*) {}

TComponent* TComponent::ParentComponent() const { return nullptr; }

std::any TComponent::MethodAddress(std::string_view) { return {}; }

}  // namespace tarvela
