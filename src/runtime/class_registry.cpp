#include "tarvela/runtime/class_registry.h"

#include <algorithm>

#include "tarvela/runtime/identifiers.h"

namespace tarvela {

ClassRegistry& ClassRegistry::Instance() {
  static ClassRegistry registry;
  return registry;
}

void ClassRegistry::Register(std::string className, Factory factory) {
  if (!factory) throw Exception("Class " + className + " has no factory");
  std::string key = IdentKey(className);
  m_classes[key] = Entry{std::move(className), std::move(factory)};
}

void ClassRegistry::Unregister(std::string_view className) {
  if (auto it = m_classes.find(IdentKey(className)); it != m_classes.end()) m_classes.erase(it);
}

bool ClassRegistry::IsRegistered(std::string_view className) const {
  return m_classes.find(IdentKey(className)) != m_classes.end();
}

TComponent* ClassRegistry::Create(std::string_view className, TComponent* owner) const {
  auto it = m_classes.find(IdentKey(className));
  if (it == m_classes.end()) throw EClassNotFound("Class " + std::string(className) + " not found");
  TComponent* component = it->second.factory(owner);
  if (component == nullptr) throw EClassNotFound("Class " + std::string(className) + " could not be created");
  return component;
}

std::vector<std::string> ClassRegistry::ClassNames() const {
  std::vector<std::string> names;
  for (const auto& [key, entry] : m_classes) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tarvela
