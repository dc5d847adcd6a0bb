#pragma once
/// Component classes known by name, so that a form description can create them.
/// Registration is explicit: each layer has a Register...Classes() function that
/// start-up calls (static initialisers would be dropped from static libraries).
/// The registry creates components; it does not own them.
/// @file
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/runtime/component.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {

class EClassNotFound : public Exception { using Exception::Exception; };

class ClassRegistry {
 public:
  /// Creates a component owned by owner (if owner is null, the caller owns it).
  using Factory = std::function<TComponent*(TComponent* owner)>;

  static ClassRegistry& Instance();

  // operations
  /// Registering a name again replaces it; letter case of names is ignored.
  void Register(std::string className, Factory factory);
  template <class T>
  void Register(std::string className) {
    Register(std::move(className), [](TComponent* owner) -> TComponent* { return new T(owner); });
  }
  void Unregister(std::string_view className);
  bool IsRegistered(std::string_view className) const;
  /// EClassNotFound "Class TFoo not found" for an unknown name.
  TComponent* Create(std::string_view className, TComponent* owner) const;
  /// As registered, sorted.
  std::vector<std::string> ClassNames() const;

 private:
  struct Entry {
    std::string name;
    Factory factory;
  };
  // state: keyed by IdentKey(name)
  std::map<std::string, Entry, std::less<>> m_classes;
};

}  // namespace tarvela
