#pragma once
/// Property tables: the published properties of a class, one declarative line each,
/// so that a form description (or the program) can set and read them by name.
/// A table lists its own class's properties and points to the base class's table.
///
/// A table is not reflection of the whole object: only what a description may set
/// is listed, and the typed helpers below check every value on its way in (an
/// integer out of the member's range, an unknown identifier or a value of the wrong
/// kind is an EConvertError, never a silent truncation).
/// @file
#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/component.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/identifiers.h"
#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/property_value.h"

namespace tarvela {

struct ReadContext;  ///< form_reader.h: the root (for events) and deferred reference fixups

/// An unknown property, a property that cannot be set or read, a missing handler
/// or an unresolvable reference.
class EPropertyError : public Exception { using Exception::Exception; };

struct PropertyInfo {
  std::string name;
  /// From a parsed value; ctx is null outside the reader.
  std::function<void(TPersistent&, const PropertyValue&, ReadContext*)> set;
  /// The current value; empty for sub-objects and events.
  std::function<PropertyValue(const TPersistent&)> get;
  /// Whether a writer would write it; empty = always.
  std::function<bool(const TPersistent&)> stored;
  /// Non-empty for sub-object properties (Font, BackWall, Title).
  std::function<TPersistent*(TPersistent&)> subObject;
  /// An enumeration's value names, in the order of its values; empty for other kinds.
  std::vector<std::string> identifiers;
};

class PropertyTable {
 public:
  /// parent: the base class's table, or null.
  PropertyTable(const PropertyTable* parent, std::vector<PropertyInfo> properties);

  // operations
  /// This table first, then the parents; letter case ignored.
  const PropertyInfo* Find(std::string_view name) const;
  /// Base class properties first; a property a subclass lists again keeps the
  /// base's place but the subclass's definition.
  std::vector<const PropertyInfo*> All() const;
  const PropertyTable* Parent() const { return m_parent; }

 private:
  // state
  const PropertyTable* m_parent;
  std::vector<PropertyInfo> m_properties;
};

bool IsStored(const TPersistent& object, const PropertyInfo& info);

/// Sets a possibly dotted path ("BackWall.Brush.Color") by walking sub-object
/// properties. "Lines.Strings" addresses the string-list property Lines itself.
/// EPropertyError for an unknown name; conversion failures propagate as
/// EConvertError naming the property; a setter's own exceptions propagate as they are.
void SetPropertyPath(TPersistent& object, std::string_view path, const PropertyValue& value,
                     ReadContext* ctx = nullptr);
PropertyValue GetPropertyPath(const TPersistent& object, std::string_view path);

/// Identifiers of an enumeration's values, e.g. {taLeftJustify, "taLeftJustify"}.
template <class E>
using EnumNames = std::vector<std::pair<E, std::string_view>>;

/// What the typed helpers share; not for use elsewhere.
namespace property_detail {

[[noreturn]] void ThrowWrongClass(const TPersistent& object, std::string_view property);
[[noreturn]] void ThrowOutOfRange(std::int64_t value, std::string min, std::string max);
[[noreturn]] void ThrowUnknownIdent(const std::string& ident);
[[noreturn]] void ThrowWrongHandlerType(const std::string& handler, std::string_view property);
[[noreturn]] void ThrowWrongReferenceClass(const TComponent& found, std::string_view property);
long double CheckedFloat(const PropertyValue& value, long double min, long double max);
TColor ColorFromValue(const PropertyValue& value);
/// The handler of that name published by the reader's root, or outside the reader
/// by the object's owner (the object itself when it has none).
std::any FindHandler(TPersistent& object, const std::string& handler, std::string_view property,
                     ReadContext* ctx);
/// Calls assign with the component named ident: later, through a fixup, when
/// reading; at once among the owner's components outside the reader.
void ResolveReference(TPersistent& object, const std::string& ident, std::string_view property,
                      ReadContext* ctx, std::function<void(TComponent*)> assign);
bool IsNil(const std::string& ident);

template <class C>
C& Self(TPersistent& object, std::string_view property) {
  auto* self = dynamic_cast<C*>(&object);
  if (self == nullptr) ThrowWrongClass(object, property);
  return *self;
}

template <class C>
const C& Self(const TPersistent& object, std::string_view property) {
  auto* self = dynamic_cast<const C*>(&object);
  if (self == nullptr) ThrowWrongClass(object, property);
  return *self;
}

template <class C>
std::function<bool(const TPersistent&)> WrapStored(const std::string& name,
                                                   std::function<bool(const C&)> stored) {
  if (!stored) return {};
  return [name, stored = std::move(stored)](const TPersistent& o) { return stored(Self<C>(o, name)); };
}

template <class T>
T CheckedInteger(const PropertyValue& value) {
  std::int64_t v = value.AsInteger();
  if (!std::in_range<T>(v))
    ThrowOutOfRange(v, std::to_string(std::numeric_limits<T>::min()), std::to_string(std::numeric_limits<T>::max()));
  return static_cast<T>(v);
}

template <class C, class Getter>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<Getter&, const C&>>;

}  // namespace property_detail

/// Any integral member type; the value must fit it.
template <class C, class Getter, class Setter>
PropertyInfo IntProperty(std::string name, Getter getter, Setter setter, std::function<bool(const C&)> stored = {}) {
  using T = property_detail::GetterResult<C, Getter>;
  static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "IntProperty needs an integral getter");
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    std::invoke(setter, property_detail::Self<C>(o, name), property_detail::CheckedInteger<T>(v));
  };
  info.get = [name, getter](const TPersistent& o) {
    return PropertyValue::Integer(static_cast<std::int64_t>(std::invoke(getter, property_detail::Self<C>(o, name))));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// A floating-point member; integers are accepted too.
template <class C, class Getter, class Setter>
PropertyInfo FloatProperty(std::string name, Getter getter, Setter setter, std::function<bool(const C&)> stored = {}) {
  using T = property_detail::GetterResult<C, Getter>;
  static_assert(std::is_floating_point_v<T>, "FloatProperty needs a floating-point getter");
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    long double x = property_detail::CheckedFloat(v, std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max());
    std::invoke(setter, property_detail::Self<C>(o, name), static_cast<T>(x));
  };
  info.get = [name, getter](const TPersistent& o) {
    return PropertyValue::Float(static_cast<long double>(std::invoke(getter, property_detail::Self<C>(o, name))));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// The identifiers True and False.
template <class C, class Getter, class Setter>
PropertyInfo BoolProperty(std::string name, Getter getter, Setter setter, std::function<bool(const C&)> stored = {}) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    std::invoke(setter, property_detail::Self<C>(o, name), v.AsBool());
  };
  info.get = [name, getter](const TPersistent& o) {
    bool value = std::invoke(getter, property_detail::Self<C>(o, name));
    return PropertyValue::Identifier(value ? "True" : "False");
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// A quoted string, UTF-8.
template <class C, class Getter, class Setter>
PropertyInfo StringProperty(std::string name, Getter getter, Setter setter, std::function<bool(const C&)> stored = {}) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    std::invoke(setter, property_detail::Self<C>(o, name), v.AsString());
  };
  info.get = [name, getter](const TPersistent& o) {
    return PropertyValue::String(std::string(std::invoke(getter, property_detail::Self<C>(o, name))));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// A colour identifier (clRed, clBtnFace) or an integer. Integers up to $FFFFFFFF
/// are taken as the 32-bit pattern, so that a system colour written in hex reads
/// the same as its negative decimal form.
template <class C, class Getter, class Setter>
PropertyInfo ColorProperty(std::string name, Getter getter, Setter setter, std::function<bool(const C&)> stored = {}) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    std::invoke(setter, property_detail::Self<C>(o, name), property_detail::ColorFromValue(v));
  };
  info.get = [name, getter](const TPersistent& o) {
    TColor color = std::invoke(getter, property_detail::Self<C>(o, name));
    return PropertyValue::Integer(color);
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// Lines of text, written in a description as <code>Name.Strings = ('a' 'b')</code>.
template <class C, class Getter, class Setter>
PropertyInfo StringListProperty(std::string name, Getter getter, Setter setter,
                                std::function<bool(const C&)> stored = {}) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext*) {
    std::invoke(setter, property_detail::Self<C>(o, name), v.AsStringList());
  };
  info.get = [name, getter](const TPersistent& o) {
    return PropertyValue::StringList(std::vector<std::string>(std::invoke(getter, property_detail::Self<C>(o, name))));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// One identifier of names. Reading back a value names lacks gives its number.
template <class C, class E, class Getter, class Setter>
PropertyInfo EnumProperty(std::string name, Getter getter, Setter setter, const EnumNames<E>& names,
                          std::function<bool(const C&)> stored = {}) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter, names](TPersistent& o, const PropertyValue& v, ReadContext*) {
    const std::string& ident = v.AsIdentifier();
    for (const auto& [value, text] : names) {
      if (SameIdent(text, ident)) {
        std::invoke(setter, property_detail::Self<C>(o, name), value);
        return;
      }
    }
    property_detail::ThrowUnknownIdent(ident);
  };
  info.get = [name, getter, names](const TPersistent& o) {
    E current = std::invoke(getter, property_detail::Self<C>(o, name));
    for (const auto& [value, text] : names)
      if (value == current) return PropertyValue::Identifier(std::string(text));
    return PropertyValue::Integer(static_cast<std::int64_t>(current));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  for (const auto& [value, text] : names) info.identifiers.emplace_back(text);
  return info;
}

/// A set kept as a bit mask, bit (1 << value) for each member: `[fsBold, fsItalic]`.
template <class C, class E, class Getter, class Setter>
PropertyInfo SetProperty(std::string name, Getter getter, Setter setter, const EnumNames<E>& names,
                         std::function<bool(const C&)> stored = {}) {
  using Mask = property_detail::GetterResult<C, Getter>;
  static_assert(std::is_unsigned_v<Mask>, "SetProperty needs an unsigned bit mask getter");
  for (const auto& [value, text] : names) {
    auto bit = static_cast<long long>(value);
    if (bit < 0 || bit >= std::numeric_limits<Mask>::digits)
      throw EPropertyError("Set member " + std::string(text) + " of property " + name + " does not fit the mask");
  }
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter, names](TPersistent& o, const PropertyValue& v, ReadContext*) {
    Mask mask = 0;
    for (const std::string& member : v.AsSet()) {
      bool known = false;
      for (const auto& [value, text] : names) {
        if (SameIdent(text, member)) {
          mask |= static_cast<Mask>(Mask{1} << static_cast<int>(value));
          known = true;
          break;
        }
      }
      if (!known) property_detail::ThrowUnknownIdent(member);
    }
    std::invoke(setter, property_detail::Self<C>(o, name), mask);
  };
  info.get = [name, getter, names](const TPersistent& o) {
    Mask mask = std::invoke(getter, property_detail::Self<C>(o, name));
    std::vector<std::string> members;
    for (const auto& [value, text] : names)
      if (mask & static_cast<Mask>(Mask{1} << static_cast<int>(value))) members.emplace_back(text);
    return PropertyValue::Set(std::move(members));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

/// A sub-object the component owns; a description sets its properties as
/// `Name.Property = value`.
template <class C, class T>
PropertyInfo ObjectProperty(std::string name, T& (C::*getter)()) {
  static_assert(std::is_base_of_v<TPersistent, T>, "ObjectProperty needs a TPersistent sub-object");
  PropertyInfo info;
  info.name = name;
  info.subObject = [name, getter](TPersistent& o) -> TPersistent* {
    return &(property_detail::Self<C>(o, name).*getter)();
  };
  return info;
}

/// An event: the value names a handler the root publishes through MethodAddress,
/// which must hold exactly Fn. `nil` clears it. Stored while a handler is set.
template <class C, class Fn>
PropertyInfo EventProperty(std::string name, Fn C::*member) {
  PropertyInfo info;
  info.name = name;
  info.set = [name, member](TPersistent& o, const PropertyValue& v, ReadContext* ctx) {
    const std::string& handler = v.AsIdentifier();
    C& self = property_detail::Self<C>(o, name);
    if (property_detail::IsNil(handler)) {
      self.*member = Fn{};
      return;
    }
    std::any found = property_detail::FindHandler(o, handler, name, ctx);
    const Fn* fn = std::any_cast<Fn>(&found);
    if (fn == nullptr) property_detail::ThrowWrongHandlerType(handler, name);
    self.*member = *fn;
  };
  info.stored = [name, member](const TPersistent& o) {
    return static_cast<bool>(property_detail::Self<C>(o, name).*member);
  };
  return info;
}

/// A reference to another component of the same root, by name; `nil` for none.
/// While reading it is set only once every object of the description exists, so
/// it may name a component that comes later in the text.
template <class C, class T, class Getter, class Setter>
PropertyInfo ReferenceProperty(std::string name, Getter getter, Setter setter,
                               std::function<bool(const C&)> stored = {}) {
  static_assert(std::is_base_of_v<TComponent, T>, "ReferenceProperty needs a TComponent class");
  PropertyInfo info;
  info.name = name;
  info.set = [name, setter](TPersistent& o, const PropertyValue& v, ReadContext* ctx) {
    const std::string& ident = v.AsIdentifier();
    C* self = &property_detail::Self<C>(o, name);
    if (property_detail::IsNil(ident)) {
      std::invoke(setter, *self, static_cast<T*>(nullptr));
      return;
    }
    property_detail::ResolveReference(o, ident, name, ctx, [self, setter, name](TComponent* found) {
      T* typed = dynamic_cast<T*>(found);
      if (typed == nullptr) property_detail::ThrowWrongReferenceClass(*found, name);
      std::invoke(setter, *self, typed);
    });
  };
  info.get = [name, getter](const TPersistent& o) {
    const TComponent* target = std::invoke(getter, property_detail::Self<C>(o, name));
    return PropertyValue::Identifier(target != nullptr ? target->Name() : std::string("nil"));
  };
  info.stored = property_detail::WrapStored<C>(name, std::move(stored));
  return info;
}

}  // namespace tarvela
