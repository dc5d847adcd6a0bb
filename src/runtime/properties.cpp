#include "tarvela/runtime/properties.h"

#include <cmath>

#include "tarvela/runtime/form_reader.h"

namespace tarvela {

PropertyTable::PropertyTable(const PropertyTable* parent, std::vector<PropertyInfo> properties)
    : m_parent(parent), m_properties(std::move(properties)) {}

const PropertyInfo* PropertyTable::Find(std::string_view name) const {
  for (const PropertyTable* table = this; table != nullptr; table = table->m_parent)
    for (const PropertyInfo& info : table->m_properties)
      if (SameIdent(info.name, name)) return &info;
  return nullptr;
}

std::vector<const PropertyInfo*> PropertyTable::All() const {
  std::vector<const PropertyInfo*> all = m_parent != nullptr ? m_parent->All() : std::vector<const PropertyInfo*>{};
  for (const PropertyInfo& info : m_properties) {
    bool replaced = false;
    for (const PropertyInfo*& inherited : all) {
      if (SameIdent(inherited->name, info.name)) {
        inherited = &info;
        replaced = true;
      }
    }
    if (!replaced) all.push_back(&info);
  }
  return all;
}

bool IsStored(const TPersistent& object, const PropertyInfo& info) {
  return !info.stored || info.stored(object);
}

namespace {

[[noreturn]] void ThrowUnknownProperty(const TPersistent& object, std::string_view path) {
  throw EPropertyError("Unknown property '" + std::string(path) + "' of " + std::string(object.ClassName()));
}

std::string Describe(const TPersistent& object, std::string_view path) {
  return "property '" + std::string(path) + "' of " + std::string(object.ClassName());
}

// The property a path ends in and the object that has it. A trailing ".Strings"
// after a string-list property names that property itself.
std::pair<const PropertyInfo*, TPersistent*> Walk(TPersistent& object, std::string_view path) {
  TPersistent* target = &object;
  std::string_view rest = path;
  for (;;) {
    std::size_t dot = rest.find('.');
    const PropertyInfo* info = target->Properties().Find(rest.substr(0, dot));
    if (info == nullptr) ThrowUnknownProperty(object, path);
    if (dot == std::string_view::npos) return {info, target};
    std::string_view tail = rest.substr(dot + 1);
    if (info->subObject) {
      target = info->subObject(*target);
      if (target == nullptr) throw EPropertyError("Property '" + info->name + "' of " +
                                                  std::string(object.ClassName()) + " has no object");
      rest = tail;
      continue;
    }
    if (SameIdent(tail, "Strings") && info->get &&
        info->get(*target).kind == PropertyValue::Kind::StringList)
      return {info, target};
    ThrowUnknownProperty(object, path);
  }
}

}  // namespace

void SetPropertyPath(TPersistent& object, std::string_view path, const PropertyValue& value, ReadContext* ctx) {
  auto [info, target] = Walk(object, path);
  if (!info->set) {
    std::string what = info->subObject ? " is an object: set its properties instead" : " cannot be set";
    throw EPropertyError("Property '" + std::string(path) + "' of " + std::string(object.ClassName()) + what);
  }
  try {
    info->set(*target, value, ctx);
  } catch (const EConvertError& e) {
    throw EConvertError("Invalid value for " + Describe(object, path) + ": " + e.Message());
  }
}

PropertyValue GetPropertyPath(const TPersistent& object, std::string_view path) {
  // Walking needs the sub-object accessors, which hand out mutable objects; nothing
  // is changed on the way.
  auto [info, target] = Walk(const_cast<TPersistent&>(object), path);
  if (!info->get)
    throw EPropertyError("Property '" + std::string(path) + "' of " + std::string(object.ClassName()) +
                         " has no value to read");
  return info->get(*target);
}

namespace property_detail {

void ThrowWrongClass(const TPersistent& object, std::string_view property) {
  throw EPropertyError("Property '" + std::string(property) + "' does not belong to class " +
                       std::string(object.ClassName()));
}

void ThrowOutOfRange(std::int64_t value, std::string min, std::string max) {
  throw EConvertError(std::to_string(value) + " is out of range " + min + ".." + max);
}

void ThrowUnknownIdent(const std::string& ident) {
  throw EConvertError("Unknown identifier " + ident);
}

void ThrowWrongHandlerType(const std::string& handler, std::string_view property) {
  throw EPropertyError("Handler '" + handler + "' has the wrong type for " + std::string(property));
}

void ThrowWrongReferenceClass(const TComponent& found, std::string_view property) {
  throw EPropertyError("Component '" + found.Name() + "' (" + std::string(found.ClassName()) +
                       ") does not fit property '" + std::string(property) + "'");
}

long double CheckedFloat(const PropertyValue& value, long double min, long double max) {
  long double x = value.AsFloat();
  if (std::isfinite(x) && (x < min || x > max))
    throw EConvertError(value.ToText() + " is out of the floating point range");
  return x;
}

TColor ColorFromValue(const PropertyValue& value) {
  if (value.kind == PropertyValue::Kind::Identifier) {
    TColor color = 0;
    if (!ColorFromIdent(value.text, color)) throw EConvertError("Unknown colour " + value.text);
    return color;
  }
  if (value.kind != PropertyValue::Kind::Integer)
    throw EConvertError("Expected a colour but found " + std::string(KindName(value.kind)) + " " + value.ToText());
  std::int64_t v = value.integer;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max())
    ThrowOutOfRange(v, std::to_string(std::numeric_limits<std::int32_t>::min()),
                    std::to_string(std::numeric_limits<std::uint32_t>::max()));
  return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

bool IsNil(const std::string& ident) { return SameIdent(ident, "nil"); }

namespace {

// The root's own name counts too: a control may refer to its form.
TComponent* FindIn(TComponent* root, const std::string& ident, std::string_view property) {
  if (SameIdent(root->Name(), ident)) return root;
  if (TComponent* found = root->FindComponent(ident)) return found;
  throw EPropertyError("Unknown component '" + ident + "' in property '" + std::string(property) + "'");
}

// Outside the reader the object's owner plays the root; an unowned component is its own.
TComponent* RootOutsideReader(TPersistent& object, std::string_view property) {
  auto* component = dynamic_cast<TComponent*>(&object);
  if (component == nullptr)
    throw EPropertyError("Property '" + std::string(property) + "' of " + std::string(object.ClassName()) +
                         " can only be set while reading a description");
  return component->Owner() != nullptr ? component->Owner() : component;
}

}  // namespace

std::any FindHandler(TPersistent& object, const std::string& handler, std::string_view property,
                     ReadContext* ctx) {
  TComponent* root = ctx != nullptr && ctx->root != nullptr ? ctx->root : RootOutsideReader(object, property);
  std::any found = root->MethodAddress(handler);
  if (!found.has_value()) throw EPropertyError("Handler '" + handler + "' not found");
  return found;
}

void ResolveReference(TPersistent& object, const std::string& ident, std::string_view property, ReadContext* ctx,
                      std::function<void(TComponent*)> assign) {
  if (ctx != nullptr) {
    ctx->AddFixup([ident, name = std::string(property), assign = std::move(assign)](TComponent* root) {
      assign(FindIn(root, ident, name));
    });
    return;
  }
  assign(FindIn(RootOutsideReader(object, property), ident, property));
}

}  // namespace property_detail

}  // namespace tarvela
